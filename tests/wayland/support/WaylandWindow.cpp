#include "WaylandWindow.h"

#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <stdexcept>

#include <wayland-client.h>

#include "weston_screenshooter.h"
#include "xdg-shell-client-protocol.h"

namespace {
// Where the compositor leaves the size to the client (a zero in configure).
constexpr int defaultWidth = 320;
constexpr int defaultHeight = 240;

std::runtime_error failure(const std::string& what) {
    return std::runtime_error("WaylandWindow: " + what);
}

template <typename Proxy> void destroyProxy(Proxy*& proxy, void (*destroy)(Proxy*)) {
    if (proxy)
        destroy(proxy);
    proxy = nullptr;
}
} // namespace

// The listeners, as friends that reach the window's state. Events of later versions than those
// bound never come, so their entries stay null.
struct WaylandWindowEvents {
    static WaylandWindow& of(void* data) { return *static_cast<WaylandWindow*>(data); }

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version) {
        of(data).bindGlobal(registry, name, interface, version);
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}
    static void ping(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
    static void surfaceConfigure(void* data, xdg_surface* surface, uint32_t serial) {
        WaylandWindow& window = of(data);
        window.width_ = window.pendingWidth_ > 0 ? window.pendingWidth_ : defaultWidth;
        window.height_ = window.pendingHeight_ > 0 ? window.pendingHeight_ : defaultHeight;
        window.configured_ = true;
        xdg_surface_ack_configure(surface, serial);
    }
    static void toplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height,
                                  wl_array*) {
        of(data).pendingWidth_ = width;
        of(data).pendingHeight_ = height;
    }
    static void toplevelClose(void* data, xdg_toplevel*) { of(data).closeRequested_ = true; }
    static void outputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
                               const char*, const char*, int32_t) {}
    static void outputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height,
                           int32_t) {
        if (flags & WL_OUTPUT_MODE_CURRENT) {
            of(data).outputWidth_ = width;
            of(data).outputHeight_ = height;
        }
    }
    static void shotDone(void* data, weston_screenshooter*) { of(data).shotDone_ = true; }

    static const wl_registry_listener registry;
    static const xdg_wm_base_listener wmBase;
    static const xdg_surface_listener surface;
    static const xdg_toplevel_listener toplevel;
    static const wl_output_listener output;
    static const weston_screenshooter_listener screenshooter;
};

const wl_registry_listener WaylandWindowEvents::registry = {global, globalRemove};
const xdg_wm_base_listener WaylandWindowEvents::wmBase = {ping};
const xdg_surface_listener WaylandWindowEvents::surface = {surfaceConfigure};
const xdg_toplevel_listener WaylandWindowEvents::toplevel = [] {
    xdg_toplevel_listener listener = {};
    listener.configure = toplevelConfigure;
    listener.close = toplevelClose;
    return listener;
}();
const weston_screenshooter_listener WaylandWindowEvents::screenshooter = {shotDone};
const wl_output_listener WaylandWindowEvents::output = [] {
    wl_output_listener listener = {};
    listener.geometry = outputGeometry;
    listener.mode = outputMode;
    return listener;
}();

WaylandWindow::WaylandWindow(const std::string& title) : display_(wl_display_connect(nullptr)) {
    if (!display_) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        throw failure(std::string("cannot connect to the Wayland display \"") +
                      (name ? name : "wayland-0") + "\"");
    }
    ownsDisplay_ = true;
    start(title);
}

WaylandWindow::WaylandWindow(wl_display* display, const std::string& title) : display_(display) {
    if (!display_)
        throw failure("no display");
    start(title);
}

WaylandWindow::~WaylandWindow() {
    destroySurface();
    destroyGlobals();
    if (ownsDisplay_)
        wl_display_disconnect(display_);
}

void WaylandWindow::start(const std::string& title) {
    try {
        registry_ = wl_display_get_registry(display_);
        wl_registry_add_listener(registry_, &WaylandWindowEvents::registry, this);
        roundtrip(); // the globals
        roundtrip(); // the output's mode, sent once it is bound
        if (!compositor_ || !wmBase_)
            throw failure("the compositor offers no wl_compositor or no xdg_wm_base");
        makeToplevel(title);
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        destroySurface();
        destroyGlobals();
        if (ownsDisplay_)
            wl_display_disconnect(display_);
        throw;
    }
}

void WaylandWindow::bindGlobal(wl_registry* registry, uint32_t name, const char* interface,
                               uint32_t version) {
    auto bind = [&](const wl_interface* kind, uint32_t wanted) {
        return wl_registry_bind(registry, name, kind, wanted < version ? wanted : version);
    };
    if (!compositor_ && std::strcmp(interface, wl_compositor_interface.name) == 0) {
        compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (!subcompositor_ && std::strcmp(interface, wl_subcompositor_interface.name) == 0) {
        subcompositor_ = static_cast<wl_subcompositor*>(bind(&wl_subcompositor_interface, 1));
    } else if (!wmBase_ && std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        wmBase_ = static_cast<xdg_wm_base*>(bind(&xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(wmBase_, &WaylandWindowEvents::wmBase, this);
    } else if (!shm_ && std::strcmp(interface, wl_shm_interface.name) == 0) {
        shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (!output_ && std::strcmp(interface, wl_output_interface.name) == 0) {
        output_ = static_cast<wl_output*>(bind(&wl_output_interface, 1));
        wl_output_add_listener(output_, &WaylandWindowEvents::output, this);
    } else if (!screenshooter_ &&
               std::strcmp(interface, weston_screenshooter_interface.name) == 0) {
        screenshooter_ =
            static_cast<weston_screenshooter*>(bind(&weston_screenshooter_interface, 1));
        weston_screenshooter_add_listener(screenshooter_, &WaylandWindowEvents::screenshooter,
                                          this);
    }
}

void WaylandWindow::makeToplevel(const std::string& title) {
    surface_ = wl_compositor_create_surface(compositor_);
    xdgSurface_ = xdg_wm_base_get_xdg_surface(wmBase_, surface_);
    xdg_surface_add_listener(xdgSurface_, &WaylandWindowEvents::surface, this);
    toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
    xdg_toplevel_add_listener(toplevel_, &WaylandWindowEvents::toplevel, this);
    xdg_toplevel_set_title(toplevel_, title.c_str());
    xdg_toplevel_set_fullscreen(toplevel_, nullptr); // on the compositor's choice of output
    // A commit without a buffer asks for the first configure.
    wl_surface_commit(surface_);
    while (!configured_)
        roundtrip();
}

void WaylandWindow::dispatchPending() {
    // Reads what the socket holds without blocking, then runs the handlers.
    while (wl_display_prepare_read(display_) != 0)
        wl_display_dispatch_pending(display_);
    wl_display_flush(display_);
    pollfd descriptor = {wl_display_get_fd(display_), POLLIN, 0};
    if (poll(&descriptor, 1, 0) > 0)
        wl_display_read_events(display_);
    else
        wl_display_cancel_read(display_);
    if (wl_display_dispatch_pending(display_) < 0)
        throw failure("the connection failed");
}

void WaylandWindow::roundtrip() {
    if (wl_display_roundtrip(display_) < 0)
        throw failure("the connection failed");
}

void WaylandWindow::destroySurface() {
    destroyProxy(toplevel_, xdg_toplevel_destroy);
    destroyProxy(xdgSurface_, xdg_surface_destroy);
    destroyProxy(surface_, wl_surface_destroy);
}

void WaylandWindow::destroyGlobals() {
    destroyProxy(screenshooter_, weston_screenshooter_destroy);
    destroyProxy(output_, wl_output_destroy);
    destroyProxy(shm_, wl_shm_destroy);
    destroyProxy(wmBase_, xdg_wm_base_destroy);
    destroyProxy(subcompositor_, wl_subcompositor_destroy);
    destroyProxy(compositor_, wl_compositor_destroy);
    destroyProxy(registry_, wl_registry_destroy);
}
