// Window services: device contexts for windows and the screen.
#include <X11/Xutil.h>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

// Reads what the pixel format rules need to know about the window; false when it is gone.
bool describeWindow(DeviceContext& dc) {
    XWindowAttributes attributes;
    ErrorTrap trap(dc.display);
    if (!XGetWindowAttributes(dc.display, dc.window, &attributes) || trap.failed()) {
        diagnose("GetDC", "no such window: " + trap.why());
        return false;
    }
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

std::shared_ptr<DeviceContext> findDC(HDC dc) {
    return dc ? platform().deviceContexts.find(dc) : nullptr;
}

bool windowExists(const DeviceContext& dc) {
    if (dc.window == None)
        return true;
    // One round trip, where XGetWindowAttributes makes two.
    Window root;
    int x, y;
    unsigned int width, height, border, depth;
    ErrorTrap trap(dc.display);
    return XGetGeometry(dc.display, dc.window, &root, &x, &y, &width, &height, &border, &depth) &&
           !trap.failed();
}

bool isSelectedAnywhere(HGDIOBJ object) {
    return platform().deviceContexts.any(
        [object](const DeviceContext& dc) { return dc.font == object; });
}

} // namespace zn::x11

using namespace zn::x11;

HDC GetDC(HWND window) {
    std::shared_ptr<Connection> on = connection();
    if (!on)
        return nullptr; // connection() said why
    auto dc = std::make_shared<DeviceContext>();
    dc->connection = on;
    dc->display = on->display;
    dc->window = windowOf(window);
    dc->screen = DefaultScreen(on->display);
    dc->visual = 0;
    dc->depth = 0;
    dc->visualClass = 0;
    dc->font = systemFont();
    if (dc->window != None) {
        syncHostConnection();
        if (!describeWindow(*dc))
            return nullptr;
    }
    return handleOf(platform().deviceContexts.add(std::move(dc)));
}

int ReleaseDC(HWND window, HDC dc) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!held || held->window != windowOf(window))
        return 0;
    // Another thread may release the same handle meanwhile: one of the two does.
    return platform().deviceContexts.remove(dc) ? 1 : 0;
}
