#include "znVelmora.h"

#include "platform/win32api.h"
#include "timing/znFramePacer.h"

znVelmora::znVelmora(HWND window, znRenderEnv* environment)
    : windowX(0), windowY(0), windowWidth(1), windowHeight(1), glVendor(nullptr),
      glRenderer(nullptr), glVersion(nullptr), glDriver(0), frameIntervalMs(10), destinatedFPS(100),
      showFPS(true), fpsText(), renderContext(new znRenderContext(window)), renderEnv(environment),
      renderContentModified(true), framePacer(nullptr), swapInterval(0) {}

znVelmora::~znVelmora() {
    try {
        delete renderContext;
    } catch (...) {
    }
    delete framePacer;
}

void znVelmora::initializeOpenGL() {
    try {
        renderContext->initRenderContext();
        swapInterval = 0; // the new context starts with vertical sync off
        glClearColor(0.3f, 0.1f, 0.0f, 0.0f);
        glClearDepth(1.0);
        glEnable(GL_DEPTH_TEST);
        timer.initializeTimer();
        driverInformation();
        fpsFont.createFont("Arial", 15, 700, true, false);
        renderEnv->prepareEnvironment();
        renderEnv->initEnvironment();
    } catch (znExceptionHolder<znContextException>& failure) {
        failure.exception.showErrorMessage();
    }
    timerReset();
}

void znVelmora::destroyOpenGL() {
    try {
        renderEnv->destroyEnvironment();
        fpsFont.clearFont();
        renderContext->destroyRenderContext();
    } catch (znExceptionHolder<znContextException>& failure) {
        failure.exception.showErrorMessage();
    }
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
