// The smallest Wayland host: a toplevel of its own made with wayland-client and xdg-shell alone,
// whose wl_surface the library draws on through EGL, on the host's compositor connection.
//   wayland_host [FRAMES]
#include <cstdio>
#include <cstring>
#include <string>

#include <poll.h>
#include <wayland-client.h>

#include "TriangleScene.h"
#include "xdg-shell-client-protocol.h"

namespace {
struct Window {
    wl_compositor* compositor = nullptr;
    xdg_wm_base* wmBase = nullptr;
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    // The size of the last configure, applied when its xdg_surface.configure ends it; zero
    // leaves the choice to the host.
    int pendingWidth = 0;
    int pendingHeight = 0;
    int width = 320;
    int height = 240;
    bool configured = false;
    bool resized = false;
    bool open = true;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
    Window& window = *static_cast<Window*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !window.compositor) {
        window.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, version < 4 ? version : 4));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0 && !window.wmBase) {
        window.wmBase =
            static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
    }
}
void globalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {global, globalRemove};

void ping(void*, xdg_wm_base* base, uint32_t serial) {
    xdg_wm_base_pong(base, serial);
}
const xdg_wm_base_listener wmBaseListener = {ping};

void surfaceConfigure(void* data, xdg_surface* surface, uint32_t serial) {
    Window& window = *static_cast<Window*>(data);
    if (window.pendingWidth > 0 && window.pendingHeight > 0 &&
        (window.pendingWidth != window.width || window.pendingHeight != window.height)) {
        window.width = window.pendingWidth;
        window.height = window.pendingHeight;
        window.resized = true;
    }
    window.configured = true;
    xdg_surface_ack_configure(surface, serial);
}
const xdg_surface_listener surfaceListener = {surfaceConfigure};

void toplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    static_cast<Window*>(data)->pendingWidth = width;
    static_cast<Window*>(data)->pendingHeight = height;
}
void toplevelClose(void* data, xdg_toplevel*) {
    static_cast<Window*>(data)->open = false;
}
// Only the first version's events come: xdg_wm_base is bound at version 1.
const xdg_toplevel_listener toplevelListener = [] {
    xdg_toplevel_listener listener = {};
    listener.configure = toplevelConfigure;
    listener.close = toplevelClose;
    return listener;
}();

// The globals, then a toplevel, then the compositor's first configure. False when the
// compositor lacks what a window needs.
bool makeWindow(wl_display* display, Window& window) {
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &window);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    if (!window.compositor || !window.wmBase)
        return false;
    xdg_wm_base_add_listener(window.wmBase, &wmBaseListener, &window);
    window.surface = wl_compositor_create_surface(window.compositor);
    window.xdgSurface = xdg_wm_base_get_xdg_surface(window.wmBase, window.surface);
    xdg_surface_add_listener(window.xdgSurface, &surfaceListener, &window);
    window.toplevel = xdg_surface_get_toplevel(window.xdgSurface);
    xdg_toplevel_add_listener(window.toplevel, &toplevelListener, &window);
    xdg_toplevel_set_title(window.toplevel, "znVelmora Wayland host");
    wl_surface_commit(window.surface); // without a buffer: asks for the first configure
    while (!window.configured)
        if (wl_display_roundtrip(display) < 0)
            return false;
    return true;
}

void destroyWindow(Window& window) {
    if (window.toplevel)
        xdg_toplevel_destroy(window.toplevel);
    if (window.xdgSurface)
        xdg_surface_destroy(window.xdgSurface);
    if (window.surface)
        wl_surface_destroy(window.surface);
    if (window.wmBase)
        xdg_wm_base_destroy(window.wmBase);
    if (window.compositor)
        wl_compositor_destroy(window.compositor);
}

// Reads and handles the events that have arrived, without waiting, so that frames keep coming.
// False when the connection has failed.
bool dispatchPending(wl_display* display) {
    while (wl_display_prepare_read(display) != 0)
        wl_display_dispatch_pending(display);
    wl_display_flush(display);
    pollfd descriptor = {wl_display_get_fd(display), POLLIN, 0};
    if (poll(&descriptor, 1, 0) > 0)
        wl_display_read_events(display);
    else
        wl_display_cancel_read(display);
    return wl_display_dispatch_pending(display) >= 0;
}
} // namespace

int main(int argc, char** argv) {
    int frameLimit = 0;
    if (!readFrameLimit(argc, argv, frameLimit))
        return 2;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wayland_host: cannot connect to the Wayland compositor\n");
        return 1;
    }
    Window window;
    const bool made = makeWindow(display, window);
    if (!made) {
        std::fprintf(stderr, "wayland_host: the compositor offers no xdg-shell toplevel\n");
        destroyWindow(window);
        wl_display_disconnect(display);
        return 1;
    }
    TriangleScene scene;
    scene.width = window.width;
    scene.height = window.height;
    window.resized = false; // the first configure's size is the one the manager starts with

    znSetWaylandDisplay(display); // before start-up: the library draws on Wayland from here on
    znVelmora manager(reinterpret_cast<HWND>(window.surface), &scene);
    manager.setWindowSize(0, 0, scene.width, scene.height);
    if (!manager.initializeOpenGL()) { // the failure was reported; there is nothing to tear down
        destroyWindow(window);
        wl_display_disconnect(display);
        return 1;
    }
    const std::string renderer = manager.getGLRenderer();
    bool connected = true;
    while (connected && window.open && (frameLimit == 0 || scene.frames < frameLimit)) {
        manager.enterRenderLoop();
        manager.renderFunc();
        connected = dispatchPending(display);
        if (window.resized) { // the next frame, drawn at the new size, answers the configure
            scene.width = window.width;
            scene.height = window.height;
            manager.setWindowSize(0, 0, scene.width, scene.height);
            window.resized = false;
        }
    }
    manager.destroyOpenGL(); // while the surface and the connection it draws on still exist
    destroyWindow(window);
    wl_display_disconnect(display);
    if (!connected) {
        std::fprintf(stderr, "wayland_host: the compositor connection failed\n");
        return 1;
    }
    std::printf("wayland_host: %d frames with %s\n", scene.frames, renderer.c_str());
    return 0;
}
