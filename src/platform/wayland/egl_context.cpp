// Rendering contexts as EGL contexts of the OpenGL API, each surface's EGL window surface made on
// its first binding, and the buffer swap.
#include <mutex>

#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

namespace {

WaylandContext& eglContext(native::Context& context) {
    return static_cast<WaylandContext&>(context);
}

bool failed(const char* call, const char* eglCall) {
    diagnose(call, std::string(eglCall) + ": " + eglErrorName(libraries()->getError()));
    return false;
}

// The surface's EGL window surface, made for its format at the size the host gave; false, said
// on standard error, when EGL refuses it.
bool makeSurface(Surface& surface, EGLConfig config) {
    const Libraries& egl = *libraries();
    std::lock_guard<decltype(surface.mutex)> lock(surface.mutex);
    if (surface.egl != EGL_NO_SURFACE)
        return true;
    if (!surface.native)
        surface.native = egl.createNativeWindow(surface.surface, surface.width, surface.height);
    if (!surface.native) {
        diagnose("wglMakeCurrent", "wl_egl_window_create failed");
        return false;
    }
    surface.egl =
        egl.createWindowSurface(surface.display->egl, config,
                                reinterpret_cast<EGLNativeWindowType>(surface.native), nullptr);
    return surface.egl != EGL_NO_SURFACE || failed("wglMakeCurrent", "eglCreateWindowSurface");
}

} // namespace

std::shared_ptr<native::Context> WaylandBackend::createContext(native::Window& window, int format) {
    const std::shared_ptr<const Display>& on = target(window).display;
    EGLConfig config = configOf(*on, format);
    if (!config || connectionFailed(*on, "wglCreateContext"))
        return nullptr;
    const Libraries& egl = *libraries();
    egl.bindAPI(EGL_OPENGL_API);
    const EGLint none[] = {EGL_NONE};
    EGLContext made = egl.createContext(on->egl, config, EGL_NO_CONTEXT, none);
    if (made == EGL_NO_CONTEXT) {
        failed("wglCreateContext", "eglCreateContext");
        return nullptr;
    }
    auto context = std::make_shared<WaylandContext>();
    context->display = on;
    context->context = made;
    context->format = format;
    return context;
}

bool WaylandBackend::makeCurrent(native::Window& window, native::Context& context) {
    const WaylandWindow& on = target(window);
    const WaylandContext& rc = eglContext(context);
    if (!on.surface || on.display != rc.display) {
        diagnose("wglMakeCurrent", "the window is the screen or on another display");
        return false;
    }
    if (connectionFailed(*on.display, "wglMakeCurrent") ||
        !makeSurface(*on.surface, configOf(*on.display, rc.format)))
        return false;
    const Libraries& egl = *libraries();
    egl.bindAPI(EGL_OPENGL_API);
    return egl.makeCurrent(on.display->egl, on.surface->egl, on.surface->egl, rc.context) ||
           failed("wglMakeCurrent", "eglMakeCurrent");
}

bool WaylandBackend::releaseCurrent() {
    const Libraries* egl = librariesOpened();
    if (!egl)
        return true;
    egl->bindAPI(EGL_OPENGL_API);
    if (egl->getCurrentContext() == EGL_NO_CONTEXT)
        return true;
    return egl->makeCurrent(egl->getCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE,
                            EGL_NO_CONTEXT) ||
           failed("wglMakeCurrent", "eglMakeCurrent");
}

bool WaylandBackend::isCurrent(native::Context& context) {
    const Libraries& egl = *libraries();
    egl.bindAPI(EGL_OPENGL_API);
    return egl.getCurrentContext() == eglContext(context).context;
}

bool WaylandBackend::deleteContext(native::Context& context) {
    const WaylandContext& rc = eglContext(context);
    return libraries()->destroyContext(rc.display->egl, rc.context) ||
           failed("wglDeleteContext", "eglDestroyContext");
}

bool WaylandBackend::swapBuffers(native::Window& window) {
    const WaylandWindow& on = target(window);
    if (!on.surface || on.surface->egl == EGL_NO_SURFACE) {
        diagnose("SwapBuffers", "no context was ever bound to the window");
        return false;
    }
    if (connectionFailed(*on.display, "SwapBuffers"))
        return false;
    return libraries()->swapBuffers(on.display->egl, on.surface->egl) ||
           failed("SwapBuffers", "eglSwapBuffers");
}

} // namespace zn::wayland
