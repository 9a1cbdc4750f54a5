// Windows: what a device context draws on, and whether a window still exists.
#include <X11/Xutil.h>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

// Reads what the pixel format rules need to know about the window; false when it is gone.
bool describeWindow(X11Window& target) {
    XWindowAttributes attributes;
    ErrorTrap trap(target.display);
    if (!XGetWindowAttributes(target.display, target.window, &attributes) || trap.failed()) {
        diagnose("GetDC", "no such window: " + trap.why());
        return false;
    }
    target.screen = XScreenNumberOfScreen(attributes.screen);
    target.visual = XVisualIDFromVisual(attributes.visual);
    target.depth = attributes.depth;
    target.visualClass = attributes.visual->c_class;
    return true;
}

} // namespace

bool windowExists(const X11Window& target) {
    if (target.window == None)
        return true;
    // One round trip, where XGetWindowAttributes makes two.
    ::Window root;
    int x, y;
    unsigned int width, height, border, depth;
    ErrorTrap trap(target.display);
    return XGetGeometry(target.display, target.window, &root, &x, &y, &width, &height, &border,
                        &depth) &&
           !trap.failed();
}

namespace {

// The window as seen on a connection; null when it is gone (or the connection is).
std::shared_ptr<X11Window> openOn(const std::shared_ptr<Connection>& on, HWND window) {
    auto target = std::make_shared<X11Window>();
    target->connection = on;
    target->display = on->display;
    target->window = windowOf(window);
    target->screen = DefaultScreen(on->display);
    target->visual = 0;
    target->depth = 0;
    target->visualClass = 0;
    if (target->window != None) {
        syncHostConnection();
        if (!describeWindow(*target))
            return nullptr;
    }
    return target;
}

} // namespace

std::shared_ptr<native::Window> GlxBackend::openWindow(HWND window) {
    std::shared_ptr<Connection> on = connection();
    if (!on)
        return nullptr; // connection() said why
    std::shared_ptr<X11Window> target = openOn(on, window);
    // Rendering runs on the contexts' connections, so a cut of the layer's connection may first
    // show here: the window is then asked after once more, on a new connection.
    if (!target && on->lost && (on = connection()))
        target = openOn(on, window);
    return target;
}

} // namespace zn::x11
