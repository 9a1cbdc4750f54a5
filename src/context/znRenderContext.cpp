#include "znRenderContext.h"

#include "context/pixelFormatRequest.h"
#include "context/znGLFunctions.h"
#include "errors/failures.h"

using zn::throwContextFailure;

znRenderContext::znRenderContext(HWND window)
    : rc(nullptr), dc(nullptr), renderWidget(window), pixelFormat(0),
      glFunctions(new znGLFunctions) {}

znRenderContext::~znRenderContext() {
    try {
        delete glFunctions;
    } catch (...) {
    }
}

void znRenderContext::initRenderContext() {
    dc = GetDC(renderWidget);
    if (!dc || !renderWidget)
        throwContextFailure(1);
    setupPixelFormat();
    rc = wglCreateContext(dc);
    if (!rc)
        throwContextFailure(4);
    if (!wglMakeCurrent(dc, rc))
        throwContextFailure(5);
    glFunctions->loadExtensions();
}

void znRenderContext::setupPixelFormat() {
    const PIXELFORMATDESCRIPTOR pfd = zn::requestedPixelFormat();
    pixelFormat = ChoosePixelFormat(dc, &pfd);
    if (pixelFormat == 0)
        throwContextFailure(2);
    if (!SetPixelFormat(dc, pixelFormat, &pfd))
        throwContextFailure(3);
}

void znRenderContext::destroyRenderContext() {
    if (!wglMakeCurrent(nullptr, nullptr))
        throwContextFailure(5);
    if (!wglDeleteContext(rc))
        throwContextFailure(6);
    ReleaseDC(renderWidget, dc);
}

void znRenderContext::makeCurrent() {
    if (!wglMakeCurrent(dc, rc))
        throwContextFailure(5);
}

znGLFunctions& znRenderContext::getGLFunctions() {
    return *glFunctions;
}
HGLRC znRenderContext::getRC() const {
    return rc;
}
HDC znRenderContext::getDC() const {
    return dc;
}
HWND znRenderContext::getRenderWidget() const {
    return renderWidget;
}
int znRenderContext::getPixelFormat() const {
    return pixelFormat;
}
