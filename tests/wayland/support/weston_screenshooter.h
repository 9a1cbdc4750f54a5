// The client side of Weston's weston_screenshooter protocol (version 1), described by hand: Debian
// installs no XML for it. Weston offers the global only when started with --debug.
#pragma once

#include <wayland-client.h>

extern const struct wl_interface weston_screenshooter_interface;

struct weston_screenshooter;

struct weston_screenshooter_listener {
    // The buffer given to shoot holds the output's pixels (or the shot failed: no detail given).
    void (*done)(void* data, struct weston_screenshooter* screenshooter);
};

// Copies what the output shows into an shm buffer at least as large as its current mode.
inline void weston_screenshooter_shoot(struct weston_screenshooter* screenshooter,
                                       struct wl_output* output, struct wl_buffer* buffer) {
    wl_proxy_marshal(reinterpret_cast<struct wl_proxy*>(screenshooter), 0, output, buffer);
}

inline int weston_screenshooter_add_listener(struct weston_screenshooter* screenshooter,
                                             const struct weston_screenshooter_listener* listener,
                                             void* data) {
    return wl_proxy_add_listener(
        reinterpret_cast<struct wl_proxy*>(screenshooter),
        reinterpret_cast<void (**)(void)>(const_cast<weston_screenshooter_listener*>(listener)),
        data);
}

inline void weston_screenshooter_destroy(struct weston_screenshooter* screenshooter) {
    wl_proxy_destroy(reinterpret_cast<struct wl_proxy*>(screenshooter));
}
