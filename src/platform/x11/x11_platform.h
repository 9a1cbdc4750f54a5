// The x11 platform: the Win32, WGL and GDI subset of platform/win32api.h over Xlib, GLX and
// POSIX, linked into the shared library on X11 systems.
//
// What answers each call:
//  - GetDC / ReleaseDC: a device context is a small object of this layer (display, window,
//    visual, pixel format, selected font) kept in a registry, so a released or unknown handle
//    fails instead of being dereferenced. GetDC(NULL) gives a DC for the screen.
//  - IsIconic: the window's WM_STATE property says IconicState. A private connection watches
//    the windows asked about, so the property is read again only after it changed and a call
//    sends no X request (x11_watch.cpp).
//  - ChoosePixelFormat / SetPixelFormat / DescribePixelFormat: pixel formats are the screen's
//    GLX framebuffer configurations numbered from 1 in glXGetFBConfigs order. The choice prefers
//    configurations on the window's own visual. A window's format lives in a property on the
//    window, so it is set once and dies with the window, as on Windows.
//  - wglCreateContext / wglMakeCurrent / wglDeleteContext / wglGetCurrentDC / SwapBuffers:
//    glXCreateNewContext, glXMakeContextCurrent, glXDestroyContext, glXSwapBuffers.
//  - wglGetProcAddress: an entry point only when the current context advertises its extension;
//    wglSwapIntervalEXT is this layer's own function over the GLX swap-control extensions.
//  - CreateFontA / SelectObject / DeleteObject / wglUseFontBitmapsA: X core fonts picked by XLFD
//    with a fallback chain that ends at "fixed"; glyphs are built with glXUseXFont.
//  - MessageBoxA: one line "caption: text" on standard error, then a modal dialog drawn over
//    xcb on a connection of its own (dialog/dialog.h); ZNVELMORA_MESSAGEBOX=stderr or no
//    display leaves the line alone, and nothing blocks.
//  - QueryPerformanceFrequency / QueryPerformanceCounter / Sleep: CLOCK_MONOTONIC in
//    nanoseconds and nanosleep; _stricmp is strcasecmp.
//
// Where it differs from Windows:
//  - X protocol errors (a destroyed window, BadMatch) are trapped and turn into failure results,
//    and every failure writes one line on standard error saying why (kDiagnosticPrefix).
//  - wglMakeCurrent(NULL, NULL) succeeds when no context is current, as on Windows (Wine's
//    answers FALSE there).
//  - wglGetProcAddress answers only the nine extension entry points the library looks up.
//  - wglSwapIntervalEXT is offered with every context, as Wine offers it; where GLX has no swap
//    control it accepts only interval 0 (see glx_procaddress.cpp).
//  - Fonts come from the X server's core fonts, so sizes snap to the bitmap sizes installed.
//  - ReleaseDC refuses a device context named with another window than its own; Windows
//    releases it whatever window is named.
//  - The screen's device context (GetDC(NULL)) takes no pixel format: ChoosePixelFormat answers
//    0 there, where Windows chooses one; SetPixelFormat is refused on both.
//  - A failed wglMakeCurrent leaves the thread's current context current, as GLX and Wine do;
//    Windows' documentation says it makes it not current.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <GL/glx.h>
#include <X11/Xlib.h>

#include "platform/win32api.h"

namespace zn::x11 {

// ---- display (x11_display.cpp)

// The connection new handles use: the host's, or our own opened on first need. Null when no
// display can be opened, which the first call that needs one says on standard error.
Display* display(bool reportFailure = true);

// Turns the X protocol errors raised by the requests made during its lifetime into a result
// instead of a process exit. Requests are told apart by serial number, so opening and closing a
// trap costs no round trip; only failed() waits, and only for requests still unanswered. Traps
// take turns across threads, since the error handler is process-wide.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // True when one of the trap's requests failed.
    bool failed();
    // The first failure in words: the X error code, its text, the request and the resource.
    std::string why() const;

    // Takes the error when it belongs to one of this trap's requests (the error handler asks).
    bool claims(Display* display, const XErrorEvent& event);
    // The trap this one opened inside, or null.
    ErrorTrap* outerTrap() const { return outer; }

  private:
    bool outstanding() const;

    Display* display;
    unsigned long firstRequest;
    XErrorEvent error;
    XErrorHandler previousHandler;
    ErrorTrap* outer;
};

// Every line the layer writes on standard error starts with this.
inline const char* const kDiagnosticPrefix = "znVelmora x11: ";
// One line on standard error saying why a call failed, beside whatever the library reports.
void diagnose(const char* call, const std::string& why);

// Live objects behind the handles the layer hands out. A handle is its object's address; one
// that is not registered (unknown, released, deleted) is refused rather than dereferenced.
template <class T> class HandleRegistry {
  public:
    T* add(std::unique_ptr<T> object) {
        std::lock_guard<std::mutex> lock(mutex);
        T* added = object.get();
        objects[added] = std::move(object);
        return added;
    }
    T* find(const void* handle) {
        std::lock_guard<std::mutex> lock(mutex);
        auto found = objects.find(handle);
        return found == objects.end() ? nullptr : found->second.get();
    }
    std::unique_ptr<T> remove(const void* handle) {
        std::lock_guard<std::mutex> lock(mutex);
        auto found = objects.find(handle);
        if (found == objects.end())
            return nullptr;
        std::unique_ptr<T> removed = std::move(found->second);
        objects.erase(found);
        return removed;
    }
    template <class Predicate> bool any(Predicate predicate) {
        std::lock_guard<std::mutex> lock(mutex);
        for (const auto& entry : objects)
            if (predicate(*entry.second))
                return true;
        return false;
    }

  private:
    std::mutex mutex;
    std::unordered_map<const void*, std::unique_ptr<T>> objects;
};

inline Window windowOf(HWND window) {
    return static_cast<Window>(reinterpret_cast<uintptr_t>(window));
}

// ---- device contexts (x11_window.cpp)

struct DeviceContext {
    Display* display;
    Window window; // None for the screen
    int screen;
    VisualID visual;
    int depth;
    int visualClass;
    int format; // the window's pixel format once known; 0 until then
    HGDIOBJ font;
};

// The live device context behind a handle, or null for an unknown or released one.
DeviceContext* findDC(HDC dc);
// True while the device context's window exists; the screen always does.
bool windowExists(const DeviceContext& dc);
// True when some live device context has this object selected.
bool isSelectedAnywhere(HGDIOBJ object);

// ---- pixel formats (glx_pixelformat.cpp, pixel_format.cpp)

// A window's pixel format index, or 0 when none was set.
int windowPixelFormat(DeviceContext& dc);

// The screen's framebuffer configurations; format n is at(n).
class FBConfigList {
  public:
    FBConfigList(Display* display, int screen);
    ~FBConfigList();
    FBConfigList(const FBConfigList&) = delete;
    FBConfigList& operator=(const FBConfigList&) = delete;

    int size() const { return count; }
    // The configuration of a pixel format index, or null when the index is out of range.
    GLXFBConfig at(int format) const;

  private:
    GLXFBConfig* configs;
    int count;
};

// What a framebuffer configuration offers, as the pixel format rules need it.
struct FormatTraits {
    int visualMatch; // 0 the window's own visual, 1 same depth and class, 2 another one
    bool window;     // can draw to a window (has a visual and GLX_WINDOW_BIT)
    bool rgba;
    bool colorIndex;
    bool doubleBuffer;
    bool stereo;
    bool mainPlane;
    bool slow; // GLX_SLOW_CONFIG
    int colorBits, redBits, greenBits, blueBits, alphaBits;
    int redShift, greenShift, blueShift, alphaShift;
    int accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits;
    int depthBits, stencilBits, auxBuffers, samples;
};

// What a framebuffer configuration offers, read for a device context's window.
FormatTraits readTraits(Display* display, GLXFBConfig config, const DeviceContext& dc);
// The 1-based index of the format closest to the request, or 0 when none can serve it.
int chooseFormat(const std::vector<FormatTraits>& formats, const PIXELFORMATDESCRIPTOR& request);
// The descriptor Windows would give for a format. A slow configuration, or any one where
// contexts render indirectly, is described as the generic (software) implementation.
PIXELFORMATDESCRIPTOR describeFormat(const FormatTraits& format, bool indirect);

// ---- rendering contexts (glx_context.cpp, glx_procaddress.cpp)

// True when the space-separated list holds the name as a whole word.
bool hasExtension(const char* list, const char* name);

// ---- fonts (x11_font.cpp, x11_xlfd.cpp)

struct FontObject {
    Display* display;
    XFontStruct* info; // null for the system font
    std::string xlfd;
};

// The object every device context starts with, standing for the system font.
HGDIOBJ systemFont();
// The font behind a handle (the system font included), or null for an unknown one.
FontObject* findFont(HGDIOBJ object);

// A CreateFontA request in X terms.
struct FontRequest {
    std::string family; // XLFD family, lower case
    bool bold;
    bool italic;
    int pixelSize;
    std::string charset; // XLFD registry and encoding, such as "iso8859-1"
};

FontRequest fontRequest(int height, int weight, DWORD italic, DWORD charSet, const char* face);
// The XLFD patterns to try in order, each with "*" for the pixel size; the last one is "fixed".
std::vector<std::string> xlfdCandidates(const FontRequest& request);
// Of the names a pattern matched, the one to load for the pixel size: the nearest bitmap size,
// or a size scaled by the server when no bitmap size is near; empty when there is none.
std::string chooseFontName(const std::vector<std::string>& names, int pixelSize);

} // namespace zn::x11
