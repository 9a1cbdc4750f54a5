// IsIconic without an X request per call (x11_watch.cpp): a connection of the layer's own
// watches the windows it was asked about. A window's WM_STATE property is read the first time
// and again only after the window manager changed it, which the watching connection learns from
// PropertyNotify events read without sending anything. A destroyed window is dropped on its
// DestroyNotify; asking about it again tries to watch it once more (one request), which the server
// refuses, and the caller learns that it is gone. The connection is private so that the
// host's and the layer's event queues are never touched, and selecting events on it changes no
// other client's mask.
#pragma once

#include <memory>
#include <unordered_map>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

class Watcher {
  public:
    // True when the window is minimised; false for one that is not, or that cannot be asked.
    // gone is set for a window the server no longer has.
    bool iconic(Window window, bool& gone);
    // At shut-down: the connection is closed, and a later call opens a new one.
    void stop();
    // In a forked child: the connection is its parent's, and only forgotten.
    void forget();

    // Held across a fork, so that the child finds the watcher unlocked.
    RankedMutex<zn::platform::kWatcherRank> mutex;

  private:
    struct WindowState {
        bool known; // false until read, and again once the property changed
        bool iconic;
    };

    bool open();
    // Reads what the server has sent so far; never sends a request.
    void drainEvents();
    bool watch(Window window);
    bool readState(Window window, bool& iconic);

    std::shared_ptr<Connection> watching;
    Display* connection = nullptr;
    bool failed = false;
    Atom wmState = None;
    std::unordered_map<Window, WindowState> windows;
};

} // namespace zn::x11
