// The demo's window, made the way the system makes one (Win32 on Windows, Xlib elsewhere), and
// the user's input as the demo understands it.
#pragma once

#include <memory>
#include <vector>

#include "znPlatform.h"

enum class Command { quit, toggleOverlay, raiseRate, lowerRate, switchModel };

class DemoWindow {
  public:
    // Throws std::runtime_error when the window system cannot be reached.
    DemoWindow(const char* title, int width, int height);
    ~DemoWindow();
    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;

    HWND handle() const;
    // The drawing area as the window system last reported it.
    int width() const;
    int height() const;
    bool minimised() const;

    // Handles the pending events without waiting; closing the window counts as Command::quit.
    std::vector<Command> pollEvents();
    // Waits for an event or until the timeout passes (a negative one never passes), then handles
    // what is pending.
    std::vector<Command> waitEvents(double timeoutSeconds);
    // The drawing area as it is on screen: RGB, top row first; empty when it cannot be read.
    std::vector<unsigned char> capture();

  private:
    struct System;
    std::unique_ptr<System> system;
};
