// WGL rendering contexts as GLX contexts, and the buffer swap.
#include <atomic>
#include <thread>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

struct RenderingContext {
    Display* display;
    GLXContext context;
    int screen;
    int format;
    // The thread it is current on, none while it is current nowhere. As in WGL, no other thread
    // may take it or delete it meanwhile; GLX itself would let them.
    std::atomic<std::thread::id> owner{};
};

HandleRegistry<RenderingContext> renderingContexts;

// What wglMakeCurrent made current on this thread; GLX says whether it still is.
thread_local HDC currentDC = nullptr;
thread_local HGLRC currentRC = nullptr;

HGLRC handleOf(RenderingContext* rc) {
    return reinterpret_cast<HGLRC>(rc);
}

bool ownedElsewhere(const RenderingContext& rc) {
    const std::thread::id owner = rc.owner;
    return owner != std::thread::id() && owner != std::this_thread::get_id();
}

// Makes this thread's record of its current context say rc (or none).
void recordCurrent(HDC dc, HGLRC rc) {
    if (currentRC && currentRC != rc)
        if (RenderingContext* previous = renderingContexts.find(currentRC))
            previous->owner = std::thread::id();
    currentDC = dc;
    currentRC = rc;
}

// Windows releases whatever is current, and releasing nothing is no failure.
BOOL releaseCurrent() {
    recordCurrent(nullptr, nullptr);
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
    std::unique_ptr<RenderingContext> rc(
        new RenderingContext{held->display, context, held->screen, format});
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
    std::thread::id none;
    if (!context->owner.compare_exchange_strong(none, std::this_thread::get_id()) &&
        none != std::this_thread::get_id()) {
        diagnose("wglMakeCurrent", "the context is current on another thread");
        return FALSE;
    }
    ErrorTrap trap(context->display);
    const Bool made =
        glXMakeContextCurrent(context->display, held->window, held->window, context->context);
    if (!made || trap.failed()) {
        diagnose("wglMakeCurrent", "GLX refused the binding: " + trap.why());
        // The thread's context stays current, as with GLX; a context taken just now goes back.
        if (rc != currentRC)
            context->owner = std::thread::id();
        return FALSE;
    }
    recordCurrent(dc, rc);
    return TRUE;
}

BOOL wglDeleteContext(HGLRC rc) {
    RenderingContext* live = renderingContexts.find(rc);
    if (live && ownedElsewhere(*live)) {
        diagnose("wglDeleteContext", "the context is current on another thread");
        return FALSE;
    }
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
