// The one place that knows which system the library is built for: the export macro and the
// handle types that cross the public interface.
#pragma once

#if defined(_WIN32)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <GL/gl.h>

#if defined(ZN_STATIC)
#define ZN_API
#elif defined(ZN_BUILDING_LIBRARY)
#define ZN_API __declspec(dllexport)
#else
#define ZN_API __declspec(dllimport)
#endif

#elif defined(__linux__) || defined(__unix__)

#include <GL/gl.h>
#include <stdint.h>

#define ZN_API __attribute__((visibility("default")))

// Opaque handles, spelt as Windows spells them so that host code reads the same on both systems.
// A window handle carries an X11 window id: reinterpret_cast<HWND>(uintptr_t(window)).
struct HWND__;
struct HDC__;
struct HGLRC__;
struct HFONT__;
typedef struct HWND__* HWND;
typedef struct HDC__* HDC;
typedef struct HGLRC__* HGLRC;
typedef struct HFONT__* HFONT;

typedef union _LARGE_INTEGER {
    struct {
        uint32_t LowPart;
        int32_t HighPart;
    } u;
    long long QuadPart;
} LARGE_INTEGER;

typedef struct _XDisplay Display;

// Hands the library the host's own X connection. Without it the library opens its own
// connection to the display named by DISPLAY when it first needs one. Call it before the first
// render context is initialised; the host keeps the connection open while the library uses it.
ZN_API void znSetX11Display(Display* display);

struct wl_display;

// Makes the library draw on Wayland through EGL, on the host's own compositor connection, in
// place of X11. Call it before the first render context is initialised; the host keeps the
// connection open while the library uses it. A window handle then carries the host's
// wl_surface*: reinterpret_cast<HWND>(surface), and the manager's setWindowSize gives the size
// the library draws at (Wayland has no geometry to ask). libwayland and libEGL are loaded only
// by this call. A null display goes back to X11 for render contexts initialised afterwards.
ZN_API void znSetWaylandDisplay(struct wl_display* display);
// The size the library draws a Wayland window at, for hosts that draw through a znRenderContext
// of their own; the manager's setWindowSize calls it. Until it is called a window is 1x1.
ZN_API void znSetWaylandWindowSize(HWND window, int width, int height);

// What a host's window is best created with to take the library's pixel format: its visual,
// the visual's depth, and whether the window needs a colormap of its own (any visual but the
// screen's default does: create one with XCreateColormap(display, root, visual, AllocNone) and
// give the window a border pixel too). On X11 a window's visual is fixed when it is created,
// and the screen's default one may carry buffers the library does not ask for (a stencil
// buffer on Mesa), which cost time every frame.
typedef struct znX11Visual {
    unsigned long visualid; /* a VisualID of the screen */
    int depth;
    int needsColormap;
} znX11Visual;

// Fills *visual with the visual whose framebuffer configuration fits the library's pixel format
// request best, preferring the screen's default depth. A null display asks on the connection the
// library works on (visual ids hold on every connection to the server). Returns 0, leaving
// *visual alone, when no display can be opened, the screen does not exist or no configuration
// serves the request.
ZN_API int znChooseX11Visual(Display* display, int screen, znX11Visual* visual);

#else
#error "znVelmora supports Windows (Win32/WGL) and Linux (X11/GLX, Wayland/EGL) only"
#endif
