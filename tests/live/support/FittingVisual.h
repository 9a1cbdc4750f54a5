// How the tests' and benchmarks' windows are made on X11, as a host makes them: on the visual
// that znChooseX11Visual finds for the library's pixel format, with a colormap of their own when
// that visual is not the screen's default.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "znPlatform.h"

struct FittingVisual {
    Visual* visual = CopyFromParent;
    int depth = CopyFromParent;
    Colormap colormap = None; // the host's to free after the window

    // The default visual when `fitting` is false or the library finds none.
    FittingVisual(Display* display, int screen, bool fitting = true) {
        znX11Visual chosen;
        // NOTE: Mesa leaks a little at XCloseDisplay on a connection where GLX was asked
        // anything, so the visual is asked on the library's connection, which stays open.
        if (!fitting || !znChooseX11Visual(nullptr, screen, &chosen))
            return;
        XVisualInfo wanted = {};
        wanted.visualid = chosen.visualid;
        wanted.screen = screen;
        int count = 0;
        XVisualInfo* info =
            XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
        if (!info)
            return;
        visual = info->visual;
        depth = info->depth;
        XFree(info);
        if (chosen.needsColormap)
            colormap = XCreateColormap(display, RootWindow(display, screen), visual, AllocNone);
    }

    // Fills in the attributes the visual needs; returns their mask for XCreateWindow.
    unsigned long apply(XSetWindowAttributes& attributes) const {
        if (colormap == None)
            return 0;
        attributes.colormap = colormap;
        attributes.border_pixel = 0;
        return CWColormap | CWBorderPixel;
    }
};
