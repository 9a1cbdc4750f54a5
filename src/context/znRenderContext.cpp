#include "znRenderContext.h"

#include "context/pixelFormatRequest.h"
#include "context/znGLFunctions.h"
#include "errors/failures.h"

using zn::throwContextFailure;

struct znRenderContext::State {
    explicit State(HWND window) : renderWidget(window) {}

    HGLRC rc = nullptr;
    HDC dc = nullptr;
    HWND renderWidget;
    int pixelFormat = 0;
    znGLFunctions glFunctions; // the extension table, made current by its construction
};

znRenderContext::znRenderContext(HWND window) : state(new State(window)) {}

znRenderContext::~znRenderContext() {
    try {
        delete state;
    } catch (...) {
    }
}

void znRenderContext::initRenderContext() {
    state->dc = GetDC(state->renderWidget);
    if (!state->dc || !state->renderWidget)
        throwContextFailure(1);
    setupPixelFormat();
    state->rc = wglCreateContext(state->dc);
    if (!state->rc)
        throwContextFailure(4);
    if (!wglMakeCurrent(state->dc, state->rc))
        throwContextFailure(5);
    state->glFunctions.loadExtensions();
}

void znRenderContext::setupPixelFormat() {
    const PIXELFORMATDESCRIPTOR pfd = zn::requestedPixelFormat();
    state->pixelFormat = ChoosePixelFormat(state->dc, &pfd);
    if (state->pixelFormat == 0)
        throwContextFailure(2);
    if (!SetPixelFormat(state->dc, state->pixelFormat, &pfd))
        throwContextFailure(3);
}

void znRenderContext::destroyRenderContext() {
    if (!wglMakeCurrent(nullptr, nullptr))
        throwContextFailure(5);
    if (!wglDeleteContext(state->rc))
        throwContextFailure(6);
    ReleaseDC(state->renderWidget, state->dc);
}

void znRenderContext::makeCurrent() {
    if (!wglMakeCurrent(state->dc, state->rc))
        throwContextFailure(5);
}

znGLFunctions& znRenderContext::getGLFunctions() {
    return state->glFunctions;
}
HGLRC znRenderContext::getRC() const {
    return state->rc;
}
HDC znRenderContext::getDC() const {
    return state->dc;
}
HWND znRenderContext::getRenderWidget() const {
    return state->renderWidget;
}
int znRenderContext::getPixelFormat() const {
    return state->pixelFormat;
}
