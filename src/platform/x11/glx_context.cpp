// WGL rendering contexts as GLX contexts, and the buffer swap.
#include <atomic>
#include <thread>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

HandleRegistry<RenderingContext>& renderingContexts() {
    return platform().renderingContexts;
}

HGLRC handleOf(RenderingContext* rc) {
    return reinterpret_cast<HGLRC>(rc);
}

// What wglMakeCurrent made current on this thread; GLX says whether it still is. A thread that
// ends with a context current releases it: GLX would keep the context bound to the ended
// thread, so that no thread could use or delete it again.
struct ThreadBinding {
    HDC dc = nullptr;
    std::shared_ptr<RenderingContext> rc;
    ~ThreadBinding() {
        if (rc && glXGetCurrentContext() == rc->context) {
            ErrorTrap trap(rc->connection->display);
            glXMakeContextCurrent(rc->connection->display, None, None, nullptr);
        }
        if (rc)
            rc->owner = std::thread::id();
    }
};
thread_local ThreadBinding current;

// Makes this thread's record of its current context say rc (or none).
void recordCurrent(HDC dc, std::shared_ptr<RenderingContext> rc) {
    if (current.rc && current.rc != rc)
        current.rc->owner = std::thread::id();
    current.dc = dc;
    current.rc = std::move(rc);
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

// Takes the context for this thread, unless another thread has it current or is deleting it.
bool take(RenderingContext& rc) {
    std::thread::id none;
    return rc.owner.compare_exchange_strong(none, std::this_thread::get_id()) ||
           none == std::this_thread::get_id();
}

} // namespace

} // namespace zn::x11

using namespace zn::x11;

HGLRC wglCreateContext(HDC dc) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
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
    auto rc = std::make_shared<RenderingContext>();
    rc->connection = held->connection;
    rc->context = context;
    rc->screen = held->screen;
    rc->format = format;
    return handleOf(renderingContexts().add(std::move(rc)));
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
    if (!rc)
        return releaseCurrent();
    std::shared_ptr<RenderingContext> context = renderingContexts().find(rc);
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!context || !held) {
        diagnose("wglMakeCurrent", "unknown or released device or rendering context");
        return FALSE;
    }
    if (!fits(*context, *held)) {
        diagnose("wglMakeCurrent", "the window is gone or has another pixel format");
        return FALSE;
    }
    if (!take(*context)) {
        diagnose("wglMakeCurrent", "the context is current on another thread");
        return FALSE;
    }
    Display* display = context->connection->display;
    ErrorTrap trap(display);
    const Bool made = glXMakeContextCurrent(display, held->window, held->window, context->context);
    if (!made || trap.failed()) {
        diagnose("wglMakeCurrent", "GLX refused the binding: " + trap.why());
        // The thread's context stays current, as with GLX; a context taken just now goes back.
        if (context != current.rc)
            context->owner = std::thread::id();
        return FALSE;
    }
    recordCurrent(dc, std::move(context));
    return TRUE;
}

BOOL wglDeleteContext(HGLRC rc) {
    std::shared_ptr<RenderingContext> context = renderingContexts().find(rc);
    if (!context)
        return FALSE;
    // Taken for good: from here no other thread can make it current.
    if (!take(*context)) {
        diagnose("wglDeleteContext", "the context is current on another thread");
        return FALSE;
    }
    if (!renderingContexts().remove(rc))
        return FALSE; // another call on this thread deleted it meanwhile
    // Windows releases the calling thread's current context before deleting it.
    if (glXGetCurrentContext() == context->context)
        releaseCurrent();
    else if (current.rc == context)
        recordCurrent(nullptr, nullptr);
    // Another thread may still hold the object a moment, but it can no longer take it.
    Display* display = context->connection->display;
    ErrorTrap trap(display);
    glXDestroyContext(display, context->context);
    if (!trap.failed())
        return TRUE;
    diagnose("wglDeleteContext", trap.why());
    return FALSE;
}

HDC wglGetCurrentDC() {
    if (!current.rc || glXGetCurrentContext() != current.rc->context)
        return nullptr;
    return current.dc;
}

BOOL SwapBuffers(HDC dc) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
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
