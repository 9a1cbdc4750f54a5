// IsIconic without an X request per call: a connection of the layer's own watches the windows it
// was asked about. A window's WM_STATE property is read the first time and again only after the
// window manager changed it, which the watching connection learns from PropertyNotify events
// read without sending anything. The connection is private so that the host's and the layer's
// event queues are never touched, and selecting events on it changes no other client's mask.
#include <mutex>
#include <unordered_map>

#include <X11/Xutil.h>

#include "platform/x11/x11_watch.h"

namespace zn::x11 {

namespace {

struct WindowState {
    bool known; // false until read, and again once the property changed
    bool iconic;
};

} // namespace

class Watcher {
  public:
    bool iconic(Window window) {
        std::lock_guard<std::mutex> lock(mutex);
        if (!open())
            return false;
        drainEvents();
        auto found = windows.find(window);
        if (found == windows.end()) {
            if (!watch(window))
                return false;
            found = windows.emplace(window, WindowState{false, false}).first;
        }
        if (!found->second.known) {
            if (!readState(window, found->second.iconic)) {
                windows.erase(found);
                return false;
            }
            found->second.known = true;
        }
        return found->second.iconic;
    }

    // At shut-down: the connection is closed, and a later call opens a new one.
    void stop() {
        std::lock_guard<std::mutex> lock(mutex);
        if (watching)
            closeOwnConnection(watching);
        forget();
    }

    // In a forked child: the connection is its parent's, and only forgotten.
    void forget() {
        watching = nullptr;
        connection = nullptr;
        failed = false;
        windows.clear();
    }

    std::mutex mutex;

  private:
    bool open() {
        // A lost connection is replaced: the windows are read again on the new one.
        if (watching && watching->lost) {
            closeOwnConnection(watching);
            forget();
        }
        if (connection || failed)
            return connection != nullptr;
        Display* layer = display();
        watching = layer ? openOwnConnection(layer) : nullptr;
        connection = watching ? watching->display : nullptr;
        failed = !connection;
        if (failed)
            diagnose("IsIconic", "cannot open a second connection to watch windows");
        else
            wmState = XInternAtom(connection, "WM_STATE", False);
        return !failed;
    }

    // Reads what the server has sent so far; never sends a request.
    void drainEvents() {
        while (XEventsQueued(connection, QueuedAfterReading) > 0) {
            XEvent event;
            XNextEvent(connection, &event);
            if (event.type == DestroyNotify) {
                windows.erase(event.xdestroywindow.window);
            } else if (event.type == PropertyNotify && event.xproperty.atom == wmState) {
                auto found = windows.find(event.xproperty.window);
                if (found != windows.end())
                    found->second.known = false;
            }
        }
    }

    bool watch(Window window) {
        ErrorTrap trap(connection);
        XSelectInput(connection, window, PropertyChangeMask | StructureNotifyMask);
        return !trap.failed();
    }

    // Selected before reading, so any later change arrives as an event.
    bool readState(Window window, bool& iconic) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        ErrorTrap trap(connection);
        const int status = XGetWindowProperty(connection, window, wmState, 0, 2, False, wmState,
                                              &type, &format, &count, &after, &data);
        const bool read = status == Success && !trap.failed();
        iconic = read && data && type == wmState && format == 32 && count >= 1 &&
                 reinterpret_cast<const long*>(data)[0] == IconicState;
        if (data)
            XFree(data);
        return read;
    }

    std::shared_ptr<Connection> watching;
    Display* connection = nullptr;
    bool failed = false;
    Atom wmState = None;
    std::unordered_map<Window, WindowState> windows;
};

// Here, where the watcher is a complete type.
Platform::Platform() = default;
Platform::~Platform() = default;

void startWatcher(Platform& state) {
    state.watcher = std::make_unique<Watcher>();
}

void stopWatching(Platform& state) {
    state.watcher->stop();
}

void forgetWatchedWindows(Platform& state) {
    state.watcher->forget();
}

void lockWatcher(Platform& state) {
    state.watcher->mutex.lock();
}

void unlockWatcher(Platform& state) {
    state.watcher->mutex.unlock();
}

} // namespace zn::x11

using namespace zn::x11;

BOOL IsIconic(HWND window) {
    return windowOf(window) != None && platform().watcher->iconic(windowOf(window)) ? TRUE : FALSE;
}
