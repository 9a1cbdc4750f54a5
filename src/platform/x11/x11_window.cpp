// Window services: device contexts for windows and the screen, and the minimised state.
#include <X11/Xutil.h>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

HandleRegistry<DeviceContext> deviceContexts;

// Reads what the pixel format rules need to know about the window; false when it is gone.
bool describeWindow(DeviceContext& dc) {
    XWindowAttributes attributes;
    ErrorTrap trap(dc.display);
    if (!XGetWindowAttributes(dc.display, dc.window, &attributes) || trap.failed())
        return false;
    dc.screen = XScreenNumberOfScreen(attributes.screen);
    dc.visual = XVisualIDFromVisual(attributes.visual);
    dc.depth = attributes.depth;
    dc.visualClass = attributes.visual->c_class;
    return true;
}

HDC handleOf(DeviceContext* dc) {
    return reinterpret_cast<HDC>(dc);
}

} // namespace

DeviceContext* findDC(HDC dc) {
    return dc ? deviceContexts.find(dc) : nullptr;
}

bool windowExists(const DeviceContext& dc) {
    if (dc.window == None)
        return true;
    XWindowAttributes attributes;
    ErrorTrap trap(dc.display);
    return XGetWindowAttributes(dc.display, dc.window, &attributes) && !trap.failed();
}

bool isSelectedAnywhere(HGDIOBJ object) {
    return deviceContexts.any([object](const DeviceContext& dc) { return dc.font == object; });
}

} // namespace zn::x11

using namespace zn::x11;

HDC GetDC(HWND window) {
    Display* connection = display();
    if (!connection)
        return nullptr;
    auto dc = std::make_unique<DeviceContext>();
    *dc = DeviceContext{connection, windowOf(window), DefaultScreen(connection), 0, 0, 0,
                        0,          systemFont()};
    if (dc->window != None && !describeWindow(*dc))
        return nullptr;
    return handleOf(deviceContexts.add(std::move(dc)));
}

int ReleaseDC(HWND window, HDC dc) {
    DeviceContext* held = findDC(dc);
    if (!held || held->window != windowOf(window))
        return 0;
    deviceContexts.remove(dc);
    return 1;
}

BOOL IsIconic(HWND window) {
    Display* connection = display();
    if (!connection || windowOf(window) == None)
        return FALSE;
    // Created when missing, so Xlib caches it and later calls make no round trip for it.
    const Atom wmState = XInternAtom(connection, "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ErrorTrap trap(connection);
    const int status = XGetWindowProperty(connection, windowOf(window), wmState, 0, 2, False,
                                          wmState, &type, &format, &count, &after, &data);
    const bool read = status == Success && !trap.failed() && data;
    const bool iconic = read && type == wmState && format == 32 && count >= 1 &&
                        reinterpret_cast<const long*>(data)[0] == IconicState;
    if (data)
        XFree(data);
    return iconic ? TRUE : FALSE;
}
