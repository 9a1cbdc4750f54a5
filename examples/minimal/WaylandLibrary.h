// How the example hosts hand their Wayland connection to the library. A libznVelmora.so.1 built
// without the Wayland back-end lacks znSetWaylandDisplay: the weak reference leaves it null
// there, so the host says so instead of failing to load.
#pragma once

#include <cstdio>

#include "znVelmora.h"

ZN_API void znSetWaylandDisplay(struct wl_display* display) __attribute__((weak));

// False, with a message naming the host, when the library cannot draw on Wayland.
inline bool handOverWaylandDisplay(struct wl_display* display, const char* host) {
    if (!znSetWaylandDisplay) {
        std::fprintf(stderr, "%s: this libznVelmora has no Wayland back-end\n", host);
        return false;
    }
    znSetWaylandDisplay(display);
    return true;
}
