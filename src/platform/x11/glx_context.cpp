// WGL rendering contexts as GLX contexts, and the buffer swap.
#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

struct RenderingContext {
    Display* display;
    GLXContext context;
    int screen;
    int format;
};

HandleRegistry<RenderingContext> renderingContexts;

// What wglMakeCurrent made current on this thread; GLX says whether it still is.
thread_local HDC currentDC = nullptr;
thread_local HGLRC currentRC = nullptr;

HGLRC handleOf(RenderingContext* rc) {
    return reinterpret_cast<HGLRC>(rc);
}

// Windows releases whatever is current, and releasing nothing is no failure.
BOOL releaseCurrent() {
    currentDC = nullptr;
    currentRC = nullptr;
    Display* display = glXGetCurrentDisplay();
    if (!glXGetCurrentContext() || !display)
        return TRUE;
    ErrorTrap trap(display);
    const Bool released = glXMakeContextCurrent(display, None, None, nullptr);
    if (released && !trap.failed())
        return TRUE;
    diagnose("wglMakeCurrent", "cannot release the current context: " + trap.why());
    return FALSE;
}

// A context renders only into live windows of the format it was made for, as on Windows.
bool fits(RenderingContext& rc, DeviceContext& dc) {
    if (dc.window == None || dc.screen != rc.screen || windowPixelFormat(dc) != rc.format)
        return false;
    // NOTE: Mesa takes binding the current context to its current drawable again for a no-op,
    // so it would not notice that the window has gone since; only then is the window asked
    // after. Any other binding fails by itself on a window that has gone.
    const bool again = glXGetCurrentContext() == rc.context && glXGetCurrentDrawable() == dc.window;
    return !again || windowExists(dc);
}

} // namespace

} // namespace zn::x11

using namespace zn::x11;

HGLRC wglCreateContext(HDC dc) {
    DeviceContext* held = findDC(dc);
    if (!held || held->window == None)
        return nullptr;
    const int format = windowPixelFormat(*held);
    FBConfigList configs(held->display, held->screen);
    GLXFBConfig config = configs.at(format);
    if (!config)
        return nullptr;
    ErrorTrap trap(held->display);
    GLXContext context = glXCreateNewContext(held->display, config, GLX_RGBA_TYPE, nullptr, True);
    if (trap.failed() || !context) {
        diagnose("wglCreateContext", "GLX could not create a context: " + trap.why());
        if (context)
            glXDestroyContext(held->display, context);
        return nullptr;
    }
    auto rc = std::make_unique<RenderingContext>(
        RenderingContext{held->display, context, held->screen, format});
    return handleOf(renderingContexts.add(std::move(rc)));
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
    if (!rc)
        return releaseCurrent();
    RenderingContext* context = renderingContexts.find(rc);
    DeviceContext* held = findDC(dc);
    if (!context || !held) {
        diagnose("wglMakeCurrent", "unknown or released device or rendering context");
        return FALSE;
    }
    if (!fits(*context, *held)) {
        diagnose("wglMakeCurrent", "the window is gone or has another pixel format");
        return FALSE;
    }
    ErrorTrap trap(context->display);
    const Bool made =
        glXMakeContextCurrent(context->display, held->window, held->window, context->context);
    if (!made || trap.failed()) {
        diagnose("wglMakeCurrent", "GLX refused the binding: " + trap.why());
        return FALSE;
    }
    currentDC = dc;
    currentRC = rc;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC rc) {
    std::unique_ptr<RenderingContext> context = renderingContexts.remove(rc);
    if (!context)
        return FALSE;
    // Windows releases the calling thread's current context before deleting it.
    if (glXGetCurrentContext() == context->context)
        releaseCurrent();
    ErrorTrap trap(context->display);
    glXDestroyContext(context->display, context->context);
    if (!trap.failed())
        return TRUE;
    diagnose("wglDeleteContext", trap.why());
    return FALSE;
}

HDC wglGetCurrentDC() {
    RenderingContext* context = currentRC ? renderingContexts.find(currentRC) : nullptr;
    if (!context || glXGetCurrentContext() != context->context)
        return nullptr;
    return currentDC;
}

BOOL SwapBuffers(HDC dc) {
    DeviceContext* held = findDC(dc);
    if (!held || held->window == None || windowPixelFormat(*held) == 0)
        return FALSE;
    // The drawable current on this thread belongs to its context's connection.
    Display* display =
        glXGetCurrentDrawable() == held->window ? glXGetCurrentDisplay() : held->display;
    ErrorTrap trap(display);
    glXSwapBuffers(display, held->window);
    if (!trap.failed())
        return TRUE;
    diagnose("SwapBuffers", trap.why());
    return FALSE;
}
