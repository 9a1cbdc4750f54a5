// The native operations a platform back-end answers, below the one layer of Windows rules
// (platform/rules). The rules layer keeps the handles, which thread has which context current,
// a window's format being set once, the font selection rules and ReleaseDC's checks, and calls
// these operations only for what the window system itself must do. A back-end (x11 over GLX;
// record, which logs and scripts) answers them for any thread, at any time.
//
// Objects a back-end makes (windows, contexts, fonts) are handed to the rules layer, which keeps
// each alive while a handle names it or a thread uses it, and lets go of it from any thread.
//
// Every lock of the platform has a rank (LockRank below, written beside each declaration): a
// thread takes a lock only while every lock it holds ranks lower, and debug builds check it
// (ranked_mutex.h). No lock that a host thread can wait for from inside Xlib is held across a
// call into Xlib or GLX: Xlib's error callbacks take the leaf alone, and the layer takes none
// of Xlib's display locks. The wayland back-end's locks are its own: no host thread waits for
// them, and only a surface's lock is held across EGL calls (to make its buffers once).
#pragma once

#include <memory>
#include <string>

#include "platform/win32api.h"

namespace zn::platform {

enum LockRank : int {
    kFormatRank = 1, // rules: a window's format read and set as one step
    kSurfaceRank,    // wayland: one surface's EGL window, made once and resized
    kDisplayRank,    // wayland: the host's display, its EGL display and the surfaces known
    kWatcherRank,    // x11: IsIconic's watch connection and what it knows of the windows
    kOpenRank,       // x11: opening the layer's connection and setting GLX up on it
    kConnectionRank, // x11: the host's connection handed over, the layer's current one
    kLearntRank,     // x11: what was learnt of a connection (indirect rendering, swap control)
    kConfigRank,     // x11: glXGetFBConfigs, asked in turn
    kTrapRank,       // x11: an error trap open on a connection (recursive: traps nest)
    kHandlerRank,    // x11: installing the error handlers
    kRegistryRank,   // rules: one handle registry at a time, held only to find, add or remove
    kFreeTypeRank,   // freetype: the FreeType library, its faces and fontconfig's matching
    kLeafRank,       // x11: the open traps and connections, all Xlib's error callbacks take;
                     // record: its log, script and window-system state
};

} // namespace zn::platform

namespace zn::native {

// What a device context draws on: a window, or the screen for GetDC(NULL).
struct Window {
    virtual ~Window() = default;
};
// A rendering context of the window system.
struct Context {
    virtual ~Context() = default;
};
// A font made from a CreateFontA request.
struct Font {
    virtual ~Font() = default;
};

// A CreateFontA request as the call gave it.
struct FontRequest {
    int height, width, escapement, orientation, weight;
    DWORD italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality,
        pitchAndFamily;
    const char* face;
};

class Backend {
  public:
    virtual ~Backend() = default;

    // ---- windows
    // The window a handle names (null: the screen), or null when it does not exist.
    virtual std::shared_ptr<Window> openWindow(HWND window) = 0;
    // True while the window is minimised; false for any other window or none.
    virtual bool isIconic(HWND window) = 0;
    // The size the host gave the window's drawing area. Where the window system tells a window's
    // size itself (Windows, X11) there is nothing to do; Wayland has no geometry to ask.
    virtual void sizeWindow(HWND, int /*width*/, int /*height*/) {}

    // ---- pixel formats, numbered from 1
    // The format closest to the request for this window (GDI's rules), 0 when none serves it.
    virtual int chooseFormat(Window& window, const PIXELFORMATDESCRIPTOR& request) = 0;
    // Fills the description of a format when `out` is given; answers the number of formats, or
    // 0 when `format` does not exist and `out` is given.
    virtual int describeFormat(Window& window, int format, PIXELFORMATDESCRIPTOR* out) = 0;
    // True when the format can draw OpenGL into this window.
    virtual bool drawsToWindow(Window& window, int format) = 0;
    // The format stored with the window, visible to every handle on it; 0 when none is.
    virtual int windowFormat(Window& window) = 0;
    // Stores the format with the window (the rules layer sets each window's format once).
    virtual bool storeWindowFormat(Window& window, int format) = 0;

    // ---- contexts
    // A context for windows of this format, not current anywhere; null on failure.
    virtual std::shared_ptr<Context> createContext(Window& window, int format) = 0;
    // Makes the context current on the calling thread, drawing into the window (of the
    // context's format); false when the window is gone or the system refuses, leaving the
    // thread's current context as it was.
    virtual bool makeCurrent(Window& window, Context& context) = 0;
    // Leaves no context current on the calling thread; true when none was.
    virtual bool releaseCurrent() = 0;
    // True when this context is the one current on the calling thread.
    virtual bool isCurrent(Context& context) = 0;
    // Frees a context current on no thread.
    virtual bool deleteContext(Context& context) = 0;
    // Shows the back buffer of a window whose format is set.
    virtual bool swapBuffers(Window& window) = 0;
    // An extension entry point of the context current on the calling thread, or null.
    virtual PROC procAddress(const char* name) = 0;

    // ---- fonts
    // A font serving the request, or null.
    virtual std::shared_ptr<Font> createFont(const FontRequest& request) = 0;
    // Builds display lists listBase... of `count` glyphs from character `first` in the context
    // current on the calling thread, from the font (null: the system font).
    virtual bool useFontBitmaps(Font* font, DWORD first, DWORD count, DWORD listBase) = 0;

    // ---- reports
    // Shows a message box and answers the button pressed.
    virtual int messageBox(HWND owner, const char* text, const char* caption, UINT style) = 0;
    // Says why a call failed, where the back-end tells its user such things.
    virtual void diagnose(const char* call, const std::string& why) = 0;
};

// The back-end that answers this library's calls: on Linux the host's choice of X11 (GLX) or
// Wayland (EGL), made at run time.
Backend& backend();

} // namespace zn::native
