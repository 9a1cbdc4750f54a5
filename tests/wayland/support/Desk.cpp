#include "Desk.h"

#include <stdexcept>

#include <wayland-client.h>

namespace {

// Paints the desk black and shows it; its sub-surfaces show only while it does.
void show(Desk& desk) {
    if (!desk.window.subcompositor())
        throw std::runtime_error("the compositor offers no wl_subcompositor");
    desk.background.fill(0xff000000);
    wl_surface_attach(desk.window.surface(), desk.background.buffer(), 0, 0);
    wl_surface_commit(desk.window.surface());
    desk.window.roundtrip();
}

} // namespace

Desk::Desk(const std::string& title)
    : window(title),
      background(window.shm(), window.width(), window.height(), WL_SHM_FORMAT_XRGB8888) {
    show(*this);
}

Desk::Desk(wl_display* display, const std::string& title)
    : window(display, title),
      background(window.shm(), window.width(), window.height(), WL_SHM_FORMAT_XRGB8888) {
    show(*this);
}

DeskSurface::DeskSurface(Desk& desk, int x, int y)
    : desk_(desk), surface_(wl_compositor_create_surface(desk.window.compositor())),
      subsurface_(wl_subcompositor_get_subsurface(desk.window.subcompositor(), surface_,
                                                  desk.window.surface())) {
    wl_subsurface_set_desync(subsurface_);
    wl_subsurface_set_position(subsurface_, x, y);
    // A sub-surface's place takes effect with its parent's next commit.
    wl_surface_commit(desk.window.surface());
    desk.window.roundtrip();
}

DeskSurface::~DeskSurface() {
    wl_subsurface_destroy(subsurface_);
    wl_surface_destroy(surface_);
    desk_.window.roundtrip();
}
