#include "znVelmora.h"

#include "manager/managerState.h"

#include "context/znGLFunctions.h"

bool znVelmora::setSwapInterval(int interval) {
    znGLFunctions& functions = state->renderContext->getGLFunctions();
    // Without a context there is no driver to ask.
    if (!state->renderContext->getRC() || !functions.wglSwapIntervalEXT)
        return false;
    if (!functions.wglSwapIntervalEXT(interval))
        return false;
    state->swapInterval = interval;
    return true;
}

int znVelmora::getSwapInterval() {
    return state->swapInterval;
}
