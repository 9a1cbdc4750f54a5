#include "znVelmora.h"

#include <stdexcept>

#include "errors/failures.h"
#include "manager/managerState.h"
#include "platform/win32api.h"
#include "timing/znFramePacer.h"

namespace {

// A brand-new context has no errors of the host's yet: whatever start-up left pending (a font
// built by the driver, say) is the library's own and must not meet the host's first check.
void dropPendingErrors() {
    for (int dropped = 0; dropped < 32 && glGetError() != GL_NO_ERROR; ++dropped) {
    }
}

} // namespace

znVelmora::znVelmora(HWND window, znRenderEnv* environment) {
    znRenderContext* context = new znRenderContext(window);
    try {
        if (!environment)
            throw std::invalid_argument("znVelmora: the environment must not be null");
        state = new State(context, environment);
    } catch (...) {
        delete context;
        throw;
    }
}

znVelmora::~znVelmora() {
    try {
        delete state->renderContext;
    } catch (...) {
    }
    delete state->framePacer;
    delete state;
}

bool znVelmora::initializeOpenGL() {
    return startUp() == 0;
}

void znVelmora::destroyOpenGL() {
    tearDown();
}

int znVelmora::startUp() {
    int failure = 0;
    try {
        state->renderContext->initRenderContext();
        state->swapInterval = 0; // the new context starts with vertical sync off
        glClearColor(0.3f, 0.1f, 0.0f, 0.0f);
        glClearDepth(1.0);
        glEnable(GL_DEPTH_TEST);
        state->timer.initializeTimer();
        driverInformation();
        // The glyphs go into this start-up's device context, not one an earlier start-up took
        // and tear-down released.
        state->fpsFont.setDeviceContextManual(nullptr);
        state->fpsFont.createFont("Arial", 15, 700, true, false);
        dropPendingErrors();
        state->renderEnv->prepareEnvironment();
        state->renderEnv->initEnvironment();
    } catch (znExceptionHolder<znContextException>& caught) {
        caught.exception.showErrorMessage();
        failure = zn::failureCode(caught.exception.code);
    }
    timerReset();
    return failure;
}

int znVelmora::tearDown() {
    try {
        state->renderEnv->destroyEnvironment();
        state->fpsFont.clearFont();
        state->renderContext->destroyRenderContext();
    } catch (znExceptionHolder<znContextException>& caught) {
        caught.exception.showErrorMessage();
        return zn::failureCode(caught.exception.code);
    }
    return 0;
}

void znVelmora::timerReset() {
    state->timer.performCounter();
    state->timer.reset();
}

znRenderContext& znVelmora::getRenderContext() {
    return *state->renderContext;
}

const char* znVelmora::getGLDriver() {
    switch (state->glDriver) {
    case 0:
        return "Generic (Software Emulation)";
    case 1:
        return "Mini Client MCD";
    case 2:
        return "Installable Client ICD";
    default:
        return nullptr;
    }
}

const char* znVelmora::getGLVendor() {
    return state->glVendor;
}
const char* znVelmora::getGLRenderer() {
    return state->glRenderer;
}
const char* znVelmora::getGLVersion() {
    return state->glVersion;
}
const std::vector<std::string>& znVelmora::getGLExtensions() {
    return state->glExtensions;
}

void znVelmora::setWindowSize(int x, int y, int width, int height) {
    state->windowX = x < 0 ? 0 : x;
    state->windowY = y < 0 ? 0 : y;
    state->windowWidth = width > 0 ? width : 1;
    state->windowHeight = height > 0 ? height : 1;
    zn::windowSized(state->renderContext->getRenderWidget(), state->windowX + state->windowWidth,
                    state->windowY + state->windowHeight);
}

void znVelmora::getWindowsPos(int& x, int& y) {
    x = state->windowX;
    y = state->windowY;
}

void znVelmora::getWindowsSize(int& x, int& y, int& width, int& height) {
    x = state->windowX;
    y = state->windowY;
    width = state->windowWidth;
    height = state->windowHeight;
}

void znVelmora::setRenderContentModified(bool modified) {
    state->renderContentModified = modified;
}
void znVelmora::setShowFPS(bool show) {
    state->showFPS = show;
}
unsigned int znVelmora::getDestinatedFPS() {
    return state->destinatedFPS;
}

void znVelmora::setDestinatedFPS(unsigned int fps) {
    if (fps > 1000)
        return;
    state->destinatedFPS = fps;
    state->frameIntervalMs = fps == 0 ? 0 : static_cast<int>(1000.0 / fps);
}
