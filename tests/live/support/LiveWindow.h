// A real window of the test's own, made the way a host makes one (Win32 on Windows, Xlib
// elsewhere), and what a test needs to see of it.
#pragma once

#include <memory>
#include <vector>

#include "znPlatform.h"

class LiveWindow {
  public:
    // What GetDC hands out for the window on Windows: one device context of its own
    // (CS_OWNDC, as OpenGL hosts ask), or common ones, taken from and given back to the
    // system's cache. X11 has one kind.
    enum class DeviceContexts { Own, Common };

    LiveWindow(int width, int height, DeviceContexts = DeviceContexts::Own);
    ~LiveWindow();
    LiveWindow(const LiveWindow&) = delete;
    LiveWindow& operator=(const LiveWindow&) = delete;

    HWND handle() const;
    int width() const { return width_; }
    int height() const { return height_; }

    // Destroys the window; handle() then names a window that no longer exists. False, leaving
    // the window be, where the library cannot tell a destroyed window from a live one: a
    // Wayland surface is a pointer of the host's, freed with it.
    bool destroy();
    // Handles the window system's pending events.
    void pump();
    // The client area as the window system shows it: RGB triples, top row first.
    std::vector<unsigned char> capture();

  private:
    struct System;
    std::unique_ptr<System> system;
    int width_;
    int height_;
};

// True when a rendering context is current on the calling thread.
bool anyContextCurrent();
// True when Windows is Wine, whose answers differ from Windows' in a few documented places.
bool runningUnderWine();

// A pixel as RGB, read from a capture or from glReadPixels output (bottom row first).
struct Rgb {
    int r, g, b;
};
