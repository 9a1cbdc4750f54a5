// WaylandWindow::screenshot: Weston copies its output into a buffer of ours.
#include "WaylandWindow.h"

#include <stdexcept>

#include <wayland-client.h>

#include "ShmBuffer.h"
#include "weston_screenshooter.h"

std::vector<uint32_t> WaylandWindow::screenshot(int& width, int& height) {
    if (!screenshooter_ || !output_ || !shm_)
        throw std::runtime_error("WaylandWindow: no weston_screenshooter, wl_output or wl_shm "
                                 "(start Weston with --debug)");
    ShmBuffer shot(shm_, outputWidth_, outputHeight_, WL_SHM_FORMAT_XRGB8888);
    shotDone_ = false;
    weston_screenshooter_shoot(screenshooter_, output_, shot.buffer());
    // Weston answers once it has repainted the output; a failed shot answers the same way.
    while (!shotDone_)
        if (wl_display_dispatch(display_) < 0)
            throw std::runtime_error("WaylandWindow: the connection failed");
    width = shot.width();
    height = shot.height();
    return std::vector<uint32_t>(shot.pixels(), shot.pixels() + size_t(width) * size_t(height));
}
