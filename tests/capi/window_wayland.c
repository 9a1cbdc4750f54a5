/* The C host's window on Wayland: an xdg-shell toplevel made with wayland-client alone, on the
 * host's connection, which the library is handed. The library draws its buffers itself; the
 * compositor shows the window once the first frame is swapped. */
#include <stddef.h>
#include <string.h>

#include <wayland-client.h>

#include "window.h"
#include "xdg-shell-client-protocol.h"
#include "znVelmora_c.h"

static struct wl_display* display;
static struct wl_compositor* compositor;
static struct xdg_wm_base* wm_base;
static struct wl_surface* surface;
static struct xdg_surface* xdg_surface;
static struct xdg_toplevel* toplevel;
static int configured;

static void ping(void* data, struct xdg_wm_base* base, uint32_t serial) {
    (void)data;
    xdg_wm_base_pong(base, serial);
}
static const struct xdg_wm_base_listener wm_base_listener = {ping};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_compositor_interface.name) == 0)
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 1);
    else if (strcmp(interface, xdg_wm_base_interface.name) == 0) {
        wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
        xdg_wm_base_add_listener(wm_base, &wm_base_listener, NULL);
    }
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}
static const struct wl_registry_listener registry_listener = {global, global_remove};

static void surface_configure(void* data, struct xdg_surface* made, uint32_t serial) {
    (void)data;
    xdg_surface_ack_configure(made, serial);
    configured = 1;
}
static const struct xdg_surface_listener surface_listener = {surface_configure};

/* The size is the host's own: the compositor's suggestions are not taken. */
static void toplevel_configure(void* data, struct xdg_toplevel* made, int32_t width,
                               int32_t height, struct wl_array* states) {
    (void)data;
    (void)made;
    (void)width;
    (void)height;
    (void)states;
}
static void toplevel_close(void* data, struct xdg_toplevel* made) {
    (void)data;
    (void)made;
}
/* Bound at version 1: the later events are never sent. */
static const struct xdg_toplevel_listener toplevel_listener = {.configure = toplevel_configure,
                                                               .close = toplevel_close};

void* open_window(int width, int height) {
    struct wl_registry* registry;
    display = wl_display_connect(NULL);
    if (!display)
        return NULL;
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!compositor || !wm_base || znvSetWaylandDisplay(display) != ZNV_OK)
        return NULL;
    surface = wl_compositor_create_surface(compositor);
    xdg_surface = xdg_wm_base_get_xdg_surface(wm_base, surface);
    xdg_surface_add_listener(xdg_surface, &surface_listener, NULL);
    toplevel = xdg_surface_get_toplevel(xdg_surface);
    xdg_toplevel_add_listener(toplevel, &toplevel_listener, NULL);
    xdg_toplevel_set_title(toplevel, "znVelmora C host");
    wl_surface_commit(surface);
    while (!configured)
        if (wl_display_dispatch(display) < 0)
            return NULL;
    /* The manager's setWindowSize says the same; a host drawing without one says it here. */
    if (znvSetWaylandWindowSize(surface, width, height) != ZNV_OK)
        return NULL;
    return surface;
}

void pump_window(void) {
    wl_display_dispatch_pending(display);
    wl_display_flush(display);
}

/* The surface goes only after the library let go of it (destroyOpenGL came first). */
void close_window(void) {
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(xdg_surface);
    wl_surface_destroy(surface);
    znvSetWaylandDisplay(NULL);
    wl_display_roundtrip(display);
}
