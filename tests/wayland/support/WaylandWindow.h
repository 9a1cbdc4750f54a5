// A toplevel window made with wayland-client and xdg-shell alone, for the tests of Wayland hosts:
// connects (or takes the caller's connection), binds the globals a window and a screenshot need,
// and waits for the compositor's first configure, whose size it keeps. The window asks to be
// fullscreen, so that it fills the output at 0,0, where a screenshot finds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_subcompositor;
struct wl_shm;
struct wl_output;
struct wl_surface;
struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct weston_screenshooter;

class WaylandWindow {
  public:
    // On a connection of its own to $WAYLAND_DISPLAY. Throws std::runtime_error when there is no
    // compositor, it lacks wl_compositor or xdg_wm_base, or the connection fails.
    explicit WaylandWindow(const std::string& title);
    // On the caller's connection, which stays open after the window is gone.
    WaylandWindow(wl_display* display, const std::string& title);
    ~WaylandWindow();
    WaylandWindow(const WaylandWindow&) = delete;
    WaylandWindow& operator=(const WaylandWindow&) = delete;

    wl_display* display() const { return display_; }
    wl_surface* surface() const { return surface_; } // null once destroySurface ran
    wl_shm* shm() const { return shm_; }
    wl_compositor* compositor() const { return compositor_; }
    wl_subcompositor* subcompositor() const { return subcompositor_; } // null if not offered
    // The size the compositor last asked for (a default where it leaves the choice to us).
    int width() const { return width_; }
    int height() const { return height_; }
    bool closeRequested() const { return closeRequested_; }

    // Handles the events that have arrived, without waiting for more. Throws when the
    // connection has failed.
    void dispatchPending();
    // Waits until the compositor has handled every request sent so far, and its answers.
    void roundtrip();
    // Takes the window down ahead of the connection, as a host whose window closes does.
    void destroySurface();

    // What the compositor's first output shows, top row first, as 0xAARRGGBB pixels. Throws
    // when the compositor offers no weston_screenshooter (Weston without --debug).
    std::vector<uint32_t> screenshot(int& width, int& height);

  private:
    friend struct WaylandWindowEvents;

    void start(const std::string& title);
    void bindGlobal(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void makeToplevel(const std::string& title);
    void destroyGlobals();

    wl_display* display_ = nullptr;
    bool ownsDisplay_ = false;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_subcompositor* subcompositor_ = nullptr;
    xdg_wm_base* wmBase_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_output* output_ = nullptr;
    weston_screenshooter* screenshooter_ = nullptr;
    wl_surface* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int pendingWidth_ = 0;
    int pendingHeight_ = 0;
    bool configured_ = false;
    bool closeRequested_ = false;
    bool shotDone_ = false;
    int outputWidth_ = 0;
    int outputHeight_ = 0;
};
