// The demo's window on X11: an Xlib window on the visual that fits the library's pixel format,
// whose connection the library shares.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "DemoWindow.h"

struct DemoWindow::System {
    Display* display = nullptr;
    Window window = 0;
    Colormap colormap = None;
    Atom deleteWindow = None;
    int width = 0;
    int height = 0;
    bool mapped = false;
    std::vector<Command> commands;

    void handle(XEvent& event);
};

namespace {

// Makes the window on the visual the library's pixel format fits best (the default visual may
// carry a stencil buffer that slows every clear); any other visual than the default needs a
// colormap of its own.
Window createWindow(Display* display, int screen, int width, int height, Colormap& colormap) {
    Visual* visual = CopyFromParent;
    int depth = CopyFromParent;
    XSetWindowAttributes attributes = {};
    unsigned long mask = CWBackPixel | CWEventMask;
    znX11Visual fitting;
    XVisualInfo wanted = {};
    int count = 0;
    XVisualInfo* info = nullptr;
    if (znChooseX11Visual(display, screen, &fitting)) {
        wanted.visualid = fitting.visualid;
        wanted.screen = screen;
        info = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    }
    if (info) {
        visual = info->visual;
        depth = info->depth;
        XFree(info);
        if (fitting.needsColormap) {
            colormap = XCreateColormap(display, RootWindow(display, screen), visual, AllocNone);
            attributes.colormap = colormap;
            mask |= CWColormap | CWBorderPixel;
        }
    }
    attributes.background_pixel = 0; // black on every true-colour visual
    attributes.event_mask = StructureNotifyMask | KeyPressMask;
    return XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, depth,
                         InputOutput, visual, mask, &attributes);
}

bool commandForKey(KeySym key, Command& command) {
    switch (key) {
    case XK_Escape:
        command = Command::quit;
        return true;
    case XK_f:
    case XK_F:
    case XK_o:
    case XK_O:
        command = Command::toggleOverlay;
        return true;
    case XK_plus:
    case XK_equal:
    case XK_KP_Add:
        command = Command::raiseRate;
        return true;
    case XK_minus:
    case XK_KP_Subtract:
        command = Command::lowerRate;
        return true;
    case XK_m:
    case XK_M:
    case XK_space:
        command = Command::switchModel;
        return true;
    default:
        return false;
    }
}

// One colour channel of a pixel, scaled to 0..255 whatever the visual's depth.
unsigned char channel(unsigned long pixel, unsigned long mask) {
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / top);
}

int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

void DemoWindow::System::handle(XEvent& event) {
    Command command;
    KeySym key = NoSymbol;
    switch (event.type) {
    case ConfigureNotify:
        width = event.xconfigure.width;
        height = event.xconfigure.height;
        break;
    case MapNotify:
        mapped = true;
        break;
    case UnmapNotify: // the window manager unmaps what it iconifies
        mapped = false;
        break;
    case ClientMessage:
        if (Atom(event.xclient.data.l[0]) == deleteWindow)
            commands.push_back(Command::quit);
        break;
    case KeyPress:
        XLookupString(&event.xkey, nullptr, 0, &key, nullptr);
        if (commandForKey(key, command))
            commands.push_back(command);
        break;
    }
}

DemoWindow::DemoWindow(const char* title, int width, int height) : system(new System) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        throw std::runtime_error(std::string("cannot open the X display \"") +
                                 XDisplayName(nullptr) + "\": set DISPLAY, or run under xvfb-run");
    const int screen = DefaultScreen(display);
    // Kept on the screen, as Windows keeps its windows: a part beyond the edge could be neither
    // seen nor read back.
    width = std::min(width, DisplayWidth(display, screen));
    height = std::min(height, DisplayHeight(display, screen));
    const Window window = createWindow(display, screen, width, height, system->colormap);
    XStoreName(display, window, title);
    system->display = display;
    system->window = window;
    system->width = width;
    system->height = height;
    system->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &system->deleteWindow, 1);
    XMapWindow(display, window);
    while (!system->mapped) {
        XEvent event;
        XNextEvent(display, &event);
        system->handle(event);
    }
    // On one connection the library's frames reach the server before a capture asks for them.
    znSetX11Display(display);
}

DemoWindow::~DemoWindow() {
    znSetX11Display(nullptr);
    XDestroyWindow(system->display, system->window);
    if (system->colormap != None)
        XFreeColormap(system->display, system->colormap);
    XCloseDisplay(system->display);
}

HWND DemoWindow::handle() const {
    return reinterpret_cast<HWND>(uintptr_t(system->window));
}

int DemoWindow::width() const {
    return system->width;
}

int DemoWindow::height() const {
    return system->height;
}

bool DemoWindow::minimised() const {
    return !system->mapped;
}

std::vector<Command> DemoWindow::pollEvents() {
    while (XPending(system->display)) {
        XEvent event;
        XNextEvent(system->display, &event);
        system->handle(event);
    }
    std::vector<Command> commands;
    commands.swap(system->commands);
    return commands;
}

std::vector<Command> DemoWindow::waitEvents(double timeoutSeconds) {
    if (!XPending(system->display)) {
        pollfd connection = {ConnectionNumber(system->display), POLLIN, 0};
        poll(&connection, 1, timeoutSeconds < 0 ? -1 : int(std::ceil(timeoutSeconds * 1000)));
    }
    return pollEvents();
}

std::vector<unsigned char> DemoWindow::capture() {
    Display* display = system->display;
    std::vector<unsigned char> rgb;
    // A window reaching past the screen's edge cannot be read: XGetImage then fails with
    // BadMatch, which must not end the process as the default error handler would.
    XSync(display, False);
    const XErrorHandler previous = XSetErrorHandler(ignoreError);
    XImage* image =
        XGetImage(display, system->window, 0, 0, system->width, system->height, AllPlanes, ZPixmap);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!image)
        return rgb;
    rgb.reserve(size_t(system->width) * system->height * 3);
    for (int y = 0; y < system->height; ++y)
        for (int x = 0; x < system->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            rgb.insert(rgb.end(),
                       {channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                        channel(pixel, image->blue_mask)});
        }
    XDestroyImage(image);
    return rgb;
}
