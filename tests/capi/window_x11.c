#include <stdint.h>
#include <X11/Xlib.h>

#include "window.h"

static Display* display;
static Window window;

void* open_window(int width, int height) {
    XEvent event;
    display = XOpenDisplay(NULL);
    if (!display)
        return NULL;
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, (unsigned)width,
                                 (unsigned)height, 0, 0, 0);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    /* Drawn pixels only count once the window is on the screen. */
    XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify)
        XWindowEvent(display, window, StructureNotifyMask, &event);
    XFlush(display);
    return (void*)(uintptr_t)window;
}

void pump_window(void) {
    XEvent event;
    while (XPending(display))
        XNextEvent(display, &event);
}

void close_window(void) {
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}
