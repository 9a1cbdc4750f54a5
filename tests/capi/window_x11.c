#include <stdint.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "window.h"
#include "znVelmora_c.h"

static Display* display;
static Window window;
static Colormap colormap;

/* The window is made on the host's connection, which the library is handed, with the visual
 * that fits the library's pixel format. */
void* open_window(int width, int height) {
    XEvent event;
    XVisualInfo wanted, *info;
    XSetWindowAttributes attributes;
    unsigned long visualid = 0;
    int depth = 0, needsColormap = 0, count = 0;
    display = XOpenDisplay(NULL);
    if (!display)
        return NULL;
    if (znvSetX11Display(display) != ZNV_OK ||
        znvChooseX11Visual(display, DefaultScreen(display), &visualid, &depth, &needsColormap) !=
            ZNV_OK)
        return NULL;
    wanted.visualid = visualid;
    info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (!info)
        return NULL;
    colormap = needsColormap
                   ? XCreateColormap(display, DefaultRootWindow(display), info->visual, AllocNone)
                   : None;
    attributes.colormap = colormap ? colormap : CopyFromParent;
    attributes.border_pixel = 0;
    window =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, (unsigned)width, (unsigned)height,
                      0, depth, InputOutput, info->visual, CWColormap | CWBorderPixel, &attributes);
    XFree(info);
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

/* The connection stays open: closing one that GLX drew on leaks 128 bytes inside Mesa, which
 * LeakSanitizer reports, and the process ends right after. */
void close_window(void) {
    XDestroyWindow(display, window);
    if (colormap)
        XFreeColormap(display, colormap);
    znvSetX11Display(NULL);
    XSync(display, False);
}
