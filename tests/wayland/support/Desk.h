// A full-screen toplevel painted black, on which windows stand as sub-surfaces at places the
// caller picks, so that a screenshot shows where each is and the compositor shows every one's
// frames alike (a toplevel above another has its frames composited, the one under it not).
#pragma once

#include <string>

#include "ShmBuffer.h"
#include "WaylandWindow.h"

struct wl_subsurface;

struct Desk {
    // On a connection of its own, or on the caller's. Throws std::runtime_error when the
    // compositor offers no wl_subcompositor, or as WaylandWindow does.
    explicit Desk(const std::string& title);
    Desk(wl_display* display, const std::string& title);

    WaylandWindow window;
    ShmBuffer background;
};

// A window of the desk: a sub-surface at (x, y) that shows its own commits, as a toplevel does.
class DeskSurface {
  public:
    DeskSurface(Desk& desk, int x, int y);
    ~DeskSurface();
    DeskSurface(const DeskSurface&) = delete;
    DeskSurface& operator=(const DeskSurface&) = delete;

    wl_surface* surface() const { return surface_; }

  private:
    Desk& desk_;
    wl_surface* const surface_;
    wl_subsurface* const subsurface_;
};
