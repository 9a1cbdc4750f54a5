#include "znVelmora.h"

#include "context/znGLFunctions.h"

bool znVelmora::setSwapInterval(int interval) {
    znGLFunctions& functions = renderContext->getGLFunctions();
    // Without a context there is no driver to ask.
    if (!renderContext->getRC() || !functions.wglSwapIntervalEXT)
        return false;
    if (!functions.wglSwapIntervalEXT(interval))
        return false;
    swapInterval = interval;
    return true;
}

int znVelmora::getSwapInterval() {
    return swapInterval;
}
