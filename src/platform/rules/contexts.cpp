// Rendering contexts: made for a window's format, current on one thread at a time, and the entry
// points of the current one.
#include <thread>

#include "platform/rules/state.h"

namespace zn::rules {

namespace {

// What makeCurrent made current on this thread. A thread that ends with a context current
// releases it, so that another thread can take it or delete it.
struct Binding {
    HDC dc = nullptr;
    HGLRC handle = nullptr;
    std::shared_ptr<RenderingContext> rc;
    ~Binding() {
        if (!rc)
            return;
        if (native::backend().isCurrent(*rc->native))
            native::backend().releaseCurrent();
        rc->owner = std::thread::id();
    }
};
thread_local Binding current;

// Makes this thread's record of its current context say rc (or none); a context it no longer
// names is free for other threads to take.
void bind(HDC dc, HGLRC handle, std::shared_ptr<RenderingContext> rc) {
    if (current.rc && current.rc != rc)
        current.rc->owner = std::thread::id();
    current.dc = dc;
    current.handle = handle;
    current.rc = std::move(rc);
}

// Takes the context for this thread, unless another thread has it current or is deleting it.
bool take(RenderingContext& rc) {
    std::thread::id none;
    return rc.owner.compare_exchange_strong(none, std::this_thread::get_id()) ||
           none == std::this_thread::get_id();
}

// True while this thread has a context of the layer's current.
bool hasCurrent() {
    return current.rc && native::backend().isCurrent(*current.rc->native);
}

} // namespace

HGLRC createContext(HDC dc) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!held || !held->window)
        return nullptr;
    const int format = formatOf(*held);
    if (format == 0)
        return nullptr;
    std::shared_ptr<native::Context> native =
        native::backend().createContext(*held->native, format);
    if (!native)
        return nullptr;
    auto rc = std::make_shared<RenderingContext>();
    rc->native = std::move(native);
    rc->format = format;
    return state().renderingContexts.add<HGLRC>(std::move(rc));
}

BOOL makeCurrent(HDC dc, HGLRC rc) {
    // Windows releases whatever is current, and releasing nothing is no failure.
    if (!rc) {
        bind(nullptr, nullptr, nullptr);
        return native::backend().releaseCurrent() ? TRUE : FALSE;
    }
    std::shared_ptr<RenderingContext> context = state().renderingContexts.find(rc);
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!context || !held) {
        native::backend().diagnose("wglMakeCurrent",
                                   "unknown or released device or rendering context");
        return FALSE;
    }
    // A context renders only into windows of the format it was made for.
    if (!held->window || formatOf(*held) != context->format) {
        native::backend().diagnose("wglMakeCurrent",
                                   "the window has no pixel format or another one");
        return FALSE;
    }
    if (!take(*context)) {
        native::backend().diagnose("wglMakeCurrent", "the context is current on another thread");
        return FALSE;
    }
    if (!native::backend().makeCurrent(*held->native, *context->native)) {
        // The thread's context stays current; a context taken just now goes back.
        if (context != current.rc)
            context->owner = std::thread::id();
        return FALSE;
    }
    bind(dc, rc, std::move(context));
    return TRUE;
}

BOOL deleteContext(HGLRC rc) {
    std::shared_ptr<RenderingContext> context = state().renderingContexts.find(rc);
    if (!context)
        return FALSE;
    // Taken for good: from here no other thread can make it current.
    if (!take(*context)) {
        native::backend().diagnose("wglDeleteContext", "the context is current on another thread");
        return FALSE;
    }
    if (!state().renderingContexts.remove(rc))
        return FALSE; // another call on this thread deleted it meanwhile
    // Windows releases the calling thread's current context before deleting it. The context
    // stays taken by this thread meanwhile.
    if (current.rc == context) {
        current.dc = nullptr;
        current.handle = nullptr;
        current.rc.reset();
    }
    if (native::backend().isCurrent(*context->native))
        native::backend().releaseCurrent();
    // Another thread may still hold the object a moment, but it can no longer take it.
    return native::backend().deleteContext(*context->native) ? TRUE : FALSE;
}

PROC getProcAddress(LPCSTR name) {
    return name && hasCurrent() ? native::backend().procAddress(name) : nullptr;
}

HDC getCurrentDC() {
    return hasCurrent() ? current.dc : nullptr;
}

BOOL useFontBitmaps(HDC dc, DWORD first, DWORD count, DWORD listBase) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!held || !hasCurrent())
        return FALSE;
    // The system font is the back-end's own: it has no object here.
    std::shared_ptr<native::Font> font = fontOf(held->font);
    return native::backend().useFontBitmaps(font.get(), first, count, listBase) ? TRUE : FALSE;
}

HGLRC currentContext() {
    return current.handle;
}

HDC currentDC() {
    return current.dc;
}

void forgetCurrent() {
    bind(nullptr, nullptr, nullptr);
}

} // namespace zn::rules
