// IsIconic over the watch connection (the design is in x11_watch.h).
#include <mutex>

#include <X11/Xutil.h>

#include "platform/x11/x11_watch.h"

namespace zn::x11 {

bool Watcher::iconic(Window window, bool& gone) {
    std::lock_guard<decltype(mutex)> lock(mutex);
    gone = false;
    if (!open())
        return false;
    drainEvents();
    auto found = windows.find(window);
    if (found == windows.end()) {
        // Not watched yet, or destroyed since: the server refuses to watch a window that is gone.
        if (!watch(window)) {
            gone = !watching->lost;
            return false;
        }
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

void Watcher::stop() {
    std::lock_guard<decltype(mutex)> lock(mutex);
    if (watching)
        closeOwnConnection(watching);
    forget();
}

void Watcher::forget() {
    watching = nullptr;
    connection = nullptr;
    failed = false;
    windows.clear();
}

bool Watcher::open() {
    // A lost connection is replaced: the windows are read again on the new one.
    if (watching && watching->lost) {
        closeOwnConnection(watching);
        forget();
    }
    if (connection || failed)
        return connection != nullptr;
    Display* layer = display();
    watching = layer ? openOwnConnection(DisplayString(layer)) : nullptr;
    connection = watching ? watching->display : nullptr;
    failed = !connection;
    if (failed)
        diagnose("IsIconic", "cannot open a second connection to watch windows");
    else
        wmState = XInternAtom(connection, "WM_STATE", False);
    return !failed;
}

void Watcher::drainEvents() {
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

bool Watcher::watch(Window window) {
    ErrorTrap trap(connection);
    XSelectInput(connection, window, PropertyChangeMask | StructureNotifyMask);
    return !trap.failed();
}

// Selected before reading, so any later change arrives as an event.
bool Watcher::readState(Window window, bool& iconic) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ErrorTrap trap(connection);
    const int status = XGetWindowProperty(connection, window, wmState, 0, 2, False, wmState, &type,
                                          &format, &count, &after, &data);
    const bool read = status == Success && !trap.failed();
    iconic = read && data && type == wmState && format == 32 && count >= 1 &&
             reinterpret_cast<const long*>(data)[0] == IconicState;
    if (data)
        XFree(data);
    return read;
}

namespace {

// NOTE: Mesa's software rasteriser asks a window's size before drawing a frame and, once the
// window has gone, keeps a size it never got (swrastGetDrawableInfo ignores XGetGeometry's failure
// and reads whatever its stack held): the frame then renders into buffers of that size and may
// crash. A frame asks IsIconic before its first GL call, so a window found gone here is unbound
// from the thread's context: the host's GL calls then do nothing, the swap fails as on any gone
// window, and the context stays the thread's, as on Windows.
void unbindFromGoneWindow(Window window) {
    Display* display = glXGetCurrentDisplay();
    const std::shared_ptr<Connection> known = display ? connectionOf(display) : nullptr;
    if (!display || glXGetCurrentDrawable() != window || (known && known->lost))
        return;
    ErrorTrap trap(display);
    glXMakeContextCurrent(display, None, None, nullptr);
}

} // namespace

bool GlxBackend::isIconic(HWND window) {
    if (windowOf(window) == None)
        return false;
    bool gone = false;
    const bool iconic = platform().watcher->iconic(windowOf(window), gone);
    if (gone)
        unbindFromGoneWindow(windowOf(window));
    return iconic;
}

} // namespace zn::x11
