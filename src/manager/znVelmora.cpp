#include "znVelmora.h"

#include <stdexcept>

#include "errors/failures.h"
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

znVelmora::znVelmora(HWND window, znRenderEnv* environment)
    : windowX(0), windowY(0), windowWidth(1), windowHeight(1), glVendor(nullptr),
      glRenderer(nullptr), glVersion(nullptr), glDriver(0), frameIntervalMs(10), destinatedFPS(100),
      showFPS(true), fpsText(), renderContext(new znRenderContext(window)), renderEnv(environment),
      renderContentModified(true), framePacer(nullptr), swapInterval(0) {
    if (!environment) {
        delete renderContext;
        throw std::invalid_argument("znVelmora: the environment must not be null");
    }
}

znVelmora::~znVelmora() {
    try {
        delete renderContext;
    } catch (...) {
    }
    delete framePacer;
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
        renderContext->initRenderContext();
        swapInterval = 0; // the new context starts with vertical sync off
        glClearColor(0.3f, 0.1f, 0.0f, 0.0f);
        glClearDepth(1.0);
        glEnable(GL_DEPTH_TEST);
        timer.initializeTimer();
        driverInformation();
        // The glyphs go into this start-up's device context, not one an earlier start-up took
        // and tear-down released.
        fpsFont.setDeviceContextManual(nullptr);
        fpsFont.createFont("Arial", 15, 700, true, false);
        dropPendingErrors();
        renderEnv->prepareEnvironment();
        renderEnv->initEnvironment();
    } catch (znExceptionHolder<znContextException>& caught) {
        caught.exception.showErrorMessage();
        failure = zn::failureCode(caught.exception.code);
    }
    timerReset();
    return failure;
}

int znVelmora::tearDown() {
    try {
        renderEnv->destroyEnvironment();
        fpsFont.clearFont();
        renderContext->destroyRenderContext();
    } catch (znExceptionHolder<znContextException>& caught) {
        caught.exception.showErrorMessage();
        return zn::failureCode(caught.exception.code);
    }
    return 0;
}

void znVelmora::timerReset() {
    timer.performCounter();
    timer.reset();
}

znRenderContext& znVelmora::getRenderContext() {
    return *renderContext;
}

const char* znVelmora::getGLDriver() {
    switch (glDriver) {
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
    return glVendor;
}
const char* znVelmora::getGLRenderer() {
    return glRenderer;
}
const char* znVelmora::getGLVersion() {
    return glVersion;
}
const std::vector<std::string>& znVelmora::getGLExtensions() {
    return glExtensions;
}

void znVelmora::setWindowSize(int x, int y, int width, int height) {
    windowX = x < 0 ? 0 : x;
    windowY = y < 0 ? 0 : y;
    windowWidth = width > 0 ? width : 1;
    windowHeight = height > 0 ? height : 1;
}

void znVelmora::getWindowsPos(int& x, int& y) {
    x = windowX;
    y = windowY;
}

void znVelmora::getWindowsSize(int& x, int& y, int& width, int& height) {
    x = windowX;
    y = windowY;
    width = windowWidth;
    height = windowHeight;
}

void znVelmora::setRenderContentModified(bool modified) {
    renderContentModified = modified;
}
void znVelmora::setShowFPS(bool show) {
    showFPS = show;
}
unsigned int znVelmora::getDestinatedFPS() {
    return destinatedFPS;
}

void znVelmora::setDestinatedFPS(unsigned int fps) {
    if (fps > 1000)
        return;
    destinatedFPS = fps;
    frameIntervalMs = fps == 0 ? 0 : static_cast<int>(1000.0 / fps);
}
