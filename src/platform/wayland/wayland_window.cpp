// Windows: the host's surfaces, what the layer keeps of each, and the size the host gives them.
#include <cstdint>
#include <cstring>
#include <mutex>

#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

namespace {

wl_surface* surfaceOf(HWND window) {
    return reinterpret_cast<wl_surface*>(window);
}

// True when the handle carries a wl_surface, said on standard error otherwise: a host that hands
// over its xdg_surface or wl_egl_window by mistake gets a failure, not a crash inside EGL. A
// proxy starts with its interface's address; a wl_egl_window starts with a small version number.
bool isSurface(HWND window) {
    if (*reinterpret_cast<const uintptr_t*>(window) < 4096) {
        diagnose("GetDC", "the window handle is no Wayland object (a wl_egl_window?), "
                          "not a wl_surface");
        return false;
    }
    const char* kind = libraries()->proxyClass(reinterpret_cast<wl_proxy*>(window));
    if (kind && std::strcmp(kind, "wl_surface") == 0)
        return true;
    diagnose("GetDC", std::string("the window handle is a ") + (kind ? kind : "null proxy") +
                          ", not a wl_surface");
    return false;
}

} // namespace

Surface::~Surface() {
    const Libraries& egl = *libraries();
    if (this->egl != EGL_NO_SURFACE)
        egl.destroySurface(display->egl, this->egl);
    if (native)
        egl.destroyNativeWindow(native);
}

std::shared_ptr<native::Window> WaylandBackend::openWindow(HWND window) {
    std::shared_ptr<const Display> on = display("GetDC");
    if (!on || (window && !isSurface(window)))
        return nullptr;
    auto opened = std::make_shared<WaylandWindow>();
    opened->display = on;
    if (!window)
        return opened;
    std::lock_guard<decltype(mutex)> lock(mutex);
    std::weak_ptr<Surface>& known = surfaces[surfaceOf(window)];
    opened->surface = known.lock();
    if (!opened->surface || opened->surface->display != on) {
        opened->surface = std::make_shared<Surface>(on, surfaceOf(window));
        const auto size = sizes.find(surfaceOf(window));
        if (size != sizes.end())
            std::tie(opened->surface->width, opened->surface->height) = size->second;
        known = opened->surface;
    }
    return opened;
}

bool WaylandBackend::isIconic(HWND) {
    // xdg-shell lets a client ask to be minimised but never says whether it is.
    return false;
}

void WaylandBackend::sizeWindow(HWND window, int width, int height) {
    std::shared_ptr<Surface> surface;
    {
        std::lock_guard<decltype(mutex)> lock(mutex);
        sizes[surfaceOf(window)] = {width, height};
        const auto known = surfaces.find(surfaceOf(window));
        if (known != surfaces.end())
            surface = known->second.lock();
    }
    if (!surface)
        return;
    std::lock_guard<decltype(surface->mutex)> lock(surface->mutex);
    surface->width = width;
    surface->height = height;
    if (surface->native)
        libraries()->resizeNativeWindow(surface->native, width, height, 0, 0);
}

} // namespace zn::wayland
