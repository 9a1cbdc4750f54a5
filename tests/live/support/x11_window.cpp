#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <stdexcept>

#include "FittingVisual.h"
#include "LiveWindow.h"

struct LiveWindow::System {
    Display* display = nullptr;
    Window window = 0;
    Colormap colormap = None;
};

namespace {

int shiftOf(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

LiveWindow::LiveWindow(int width, int height, DeviceContexts)
    : system(new System), width_(width), height_(height) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        throw std::runtime_error("cannot open the X display: set DISPLAY or run under xvfb-run");
    const int screen = DefaultScreen(display);
    const FittingVisual fitting(display, screen);
    XSetWindowAttributes attributes = {};
    attributes.background_pixel = 0; // black on every true-colour visual
    attributes.event_mask = StructureNotifyMask | ExposureMask;
    const unsigned long mask = CWBackPixel | CWEventMask | fitting.apply(attributes);
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, fitting.depth,
                      InputOutput, fitting.visual, mask, &attributes);
    XStoreName(display, window, "znVelmora live test");
    XMapWindow(display, window);
    XEvent event;
    do
        XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    XSync(display, False);
    system->display = display;
    system->window = window;
    system->colormap = fitting.colormap;
}

LiveWindow::~LiveWindow() {
    destroy();
    if (system->colormap != None)
        XFreeColormap(system->display, system->colormap);
    XCloseDisplay(system->display);
}

HWND LiveWindow::handle() const {
    return reinterpret_cast<HWND>(uintptr_t(system->window));
}

bool LiveWindow::destroy() {
    if (!system->window)
        return true;
    XDestroyWindow(system->display, system->window);
    XSync(system->display, False);
    system->window = 0;
    return true;
}

void LiveWindow::pump() {
    while (XPending(system->display)) {
        XEvent event;
        XNextEvent(system->display, &event);
    }
}

std::vector<unsigned char> LiveWindow::capture() {
    XSync(system->display, False);
    XImage* image =
        XGetImage(system->display, system->window, 0, 0, width_, height_, AllPlanes, ZPixmap);
    std::vector<unsigned char> rgb;
    if (!image)
        return rgb;
    const int shifts[3] = {shiftOf(image->red_mask), shiftOf(image->green_mask),
                           shiftOf(image->blue_mask)};
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    rgb.reserve(size_t(width_) * height_ * 3);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            for (int c = 0; c < 3; ++c)
                rgb.push_back(static_cast<unsigned char>((pixel & masks[c]) >> shifts[c]));
        }
    XDestroyImage(image);
    return rgb;
}

bool anyContextCurrent() {
    return glXGetCurrentContext() != nullptr;
}

bool runningUnderWine() {
    return false;
}
