// The message tables wayland-scanner would generate from weston-screenshooter.xml.
#include "weston_screenshooter.h"

namespace {
// shoot's two arguments: an object of each of these interfaces.
const struct wl_interface* shootTypes[] = {&wl_output_interface, &wl_buffer_interface};
const struct wl_message requests[] = {{"shoot", "oo", shootTypes}};
const struct wl_message events[] = {{"done", "", nullptr}};
} // namespace

const struct wl_interface weston_screenshooter_interface = {
    "weston_screenshooter", 1, 1, requests, 1, events};
