// The wayland platform: the EGL back-end of the Windows rules layer (platform/native.h) for hosts
// that draw on a Wayland compositor, chosen at run time by znSetWaylandDisplay.
//
// What answers each native operation:
//  - windows: a window is the host's wl_surface the handle carries, drawn through a wl_egl_window
//    of the size the host gave (setWindowSize; Wayland has no geometry to ask). What the layer
//    keeps of a surface (its size, format and EGL surface) lives while a device context or a
//    thread uses it; the size stays for good. The null handle stands for the screen, which takes
//    no pixel format. IsIconic answers FALSE: a Wayland client is never told it is minimised.
//  - pixel formats: the EGL configurations that draw OpenGL into windows, numbered from 1 in
//    eglGetConfigs order and chosen by the same rules as on X11 (every configuration "matches
//    the visual": Wayland has none).
//  - contexts: eglCreateContext with the OpenGL API (a compatibility context), eglMakeCurrent,
//    eglDestroyContext, eglSwapBuffers; the extension entry points the context advertises, and
//    wglSwapIntervalEXT over eglSwapInterval.
//  - fonts: glyphs rasterised with FreeType from the face fontconfig finds.
//  - boxes: the X11 layer's (a dialog where an X display is, else the line on standard error).
//
// Failures: each EGL failure becomes the call's failure result with one line on standard error,
// "znVelmora wayland: <call>: <why>". A compositor connection in error (the compositor gone, or
// a protocol error) fails every call from then on and ends nothing.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/ranked_mutex.h"
#include "platform/wayland/wayland_libraries.h"

struct wl_surface;

namespace zn::wayland {

using zn::platform::RankedMutex;

// Every line the back-end writes on standard error starts with this.
inline const char* const kDiagnosticPrefix = "znVelmora wayland: ";
void diagnose(const char* call, const std::string& why);
// "EGL_BAD_MATCH" and the like for eglGetError's answer.
std::string eglErrorName(EGLint error);

// The host's display as EGL sees it, with its configurations (format n is configs[n - 1]).
struct Display {
    wl_display* host = nullptr;
    EGLDisplay egl = EGL_NO_DISPLAY;
    std::vector<EGLConfig> configs;
};

// The configuration of a pixel format, or null when there is no such format.
EGLConfig configOf(const Display& display, int format);

// What the layer keeps of one of the host's surfaces.

struct Surface {
    Surface(std::shared_ptr<const Display> display, wl_surface* surface)
        : display(std::move(display)), surface(surface) {}
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    const std::shared_ptr<const Display> display;
    wl_surface* const surface;
    RankedMutex<zn::platform::kSurfaceRank> mutex;
    int width = 1, height = 1;
    int format = 0;                  // the pixel format set once, 0 until then
    wl_egl_window* native = nullptr; // made with the EGL surface
    EGLSurface egl = EGL_NO_SURFACE; // made on the first binding, of `format`
};

// A device context's target: a surface, or the screen (null).
struct WaylandWindow : native::Window {
    std::shared_ptr<const Display> display;
    std::shared_ptr<Surface> surface; // null for the screen
};

// The back-end's own window behind a device context's.
inline WaylandWindow& target(native::Window& window) {
    return static_cast<WaylandWindow&>(window);
}

struct WaylandContext : native::Context {
    std::shared_ptr<const Display> display;
    EGLContext context;
    int format;
};

class WaylandBackend final : public native::Backend {
  public:
    // wayland_window.cpp
    std::shared_ptr<native::Window> openWindow(HWND window) override;
    bool isIconic(HWND window) override;
    void sizeWindow(HWND window, int width, int height) override;

    // egl_pixelformat.cpp
    int chooseFormat(native::Window& window, const PIXELFORMATDESCRIPTOR& request) override;
    int describeFormat(native::Window& window, int format, PIXELFORMATDESCRIPTOR* out) override;
    bool drawsToWindow(native::Window& window, int format) override;
    int windowFormat(native::Window& window) override;
    bool storeWindowFormat(native::Window& window, int format) override;

    // egl_context.cpp
    std::shared_ptr<native::Context> createContext(native::Window& window, int format) override;
    bool makeCurrent(native::Window& window, native::Context& context) override;
    bool releaseCurrent() override;
    bool isCurrent(native::Context& context) override;
    bool deleteContext(native::Context& context) override;
    bool swapBuffers(native::Window& window) override;
    PROC procAddress(const char* name) override; // egl_procaddress.cpp

    // wayland_font.cpp
    std::shared_ptr<native::Font> createFont(const native::FontRequest& request) override;
    bool useFontBitmaps(native::Font* font, DWORD first, DWORD count, DWORD listBase) override;

    // wayland_display.cpp
    int messageBox(HWND owner, const char* text, const char* caption, UINT style) override;
    void diagnose(const char* call, const std::string& why) override;

    // The display new windows are made on (the one znSetWaylandDisplay gave), EGL initialised
    // on it; null, said on standard error for `call`, when it cannot be or its connection is in
    // error.
    std::shared_ptr<const Display> display(const char* call);
    // True when the compositor connection failed; said on standard error for `call`.
    bool connectionFailed(const Display& display, const char* call);

    RankedMutex<zn::platform::kDisplayRank> mutex;
    std::atomic<wl_display*> chosen{nullptr}; // what znSetWaylandDisplay gave last
    std::shared_ptr<const Display> current;   // EGL on `chosen`, once asked for
    std::map<wl_surface*, std::weak_ptr<Surface>> surfaces;
    std::map<wl_surface*, std::pair<int, int>> sizes; // what setWindowSize gave each surface
};

// The back-end, made on first use.
WaylandBackend& backend();
// True while the host's last znSetWaylandDisplay gave a display: new windows are Wayland's.
bool chosen();

} // namespace zn::wayland
