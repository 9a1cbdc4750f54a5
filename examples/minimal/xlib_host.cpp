// The smallest Linux host: an Xlib window of its own, handed to the library by its id. The library
// opens its own connection to the same display.
//   xlib_host [FRAMES]
#include <cstdint>
#include <cstdio>
#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "TriangleScene.h"

// A window on the visual that fits the library's pixel format (the default visual may carry a
// stencil buffer that slows every clear); any visual but the default needs a colormap of its own.
Window makeWindow(Display* display, int width, int height) {
    const int screen = DefaultScreen(display);
    znX11Visual fitting;
    XVisualInfo wanted = {};
    XVisualInfo* info = nullptr;
    int count = 0;
    if (znChooseX11Visual(display, screen, &fitting)) {
        wanted.visualid = fitting.visualid;
        wanted.screen = screen;
        info = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    }
    if (!info)
        return XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, 0,
                                   0);
    XSetWindowAttributes attributes = {};
    unsigned long mask = 0;
    if (fitting.needsColormap) {
        attributes.colormap =
            XCreateColormap(display, RootWindow(display, screen), info->visual, AllocNone);
        mask = CWColormap | CWBorderPixel;
    }
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, info->depth,
                      InputOutput, info->visual, mask, &attributes);
    XFree(info);
    return window;
}

int main(int argc, char** argv) {
    int frameLimit = 0;
    if (!readFrameLimit(argc, argv, frameLimit))
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xlib_host: cannot open the X display\n");
        return 1;
    }
    TriangleScene scene;
    scene.width = 320;
    scene.height = 240;
    const Window window = makeWindow(display, scene.width, scene.height);
    XStoreName(display, window, "znVelmora Xlib host");
    Atom closeAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &closeAtom, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False); // the library's own connection must find the window

    znVelmora manager(reinterpret_cast<HWND>(uintptr_t(window)), &scene);
    manager.setWindowSize(0, 0, scene.width, scene.height);
    if (!manager.initializeOpenGL()) { // the failure was reported; there is nothing to tear down
        XCloseDisplay(display);
        return 1;
    }
    const std::string renderer = manager.getGLRenderer();
    bool open = true;
    while (open && (frameLimit == 0 || scene.frames < frameLimit)) {
        manager.enterRenderLoop();
        manager.renderFunc();
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && Atom(event.xclient.data.l[0]) == closeAtom)
                open = false;
            if (event.type == ConfigureNotify) {
                scene.width = event.xconfigure.width;
                scene.height = event.xconfigure.height;
                manager.setWindowSize(0, 0, scene.width, scene.height);
            }
        }
    }
    manager.destroyOpenGL();
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    std::printf("xlib_host: %d frames with %s\n", scene.frames, renderer.c_str());
    return 0;
}
