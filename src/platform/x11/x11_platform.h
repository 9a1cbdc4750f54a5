// The x11 platform: the GLX back-end of the Windows rules layer (platform/native.h, over Xlib and
// GLX) with the kernel calls over POSIX, linked into the shared library on X11 systems.
//
// What answers each native operation:
//  - windows: a window is the X window the handle carries (its screen and visual read once);
//    the null handle is the screen. IsIconic: the window's WM_STATE property says IconicState;
//    a private connection watches the windows asked about, so the property is read again only
//    after it changed and a call sends no X request (x11_watch.h).
//  - pixel formats: the screen's GLX framebuffer configurations numbered from 1 in
//    glXGetFBConfigs order. The choice prefers configurations on the window's own visual. A
//    window's format lives in a property on the window, so it dies with the window and every
//    connection sees it, as on Windows.
//  - contexts: glXCreateNewContext, glXMakeContextCurrent, glXDestroyContext, glXSwapBuffers.
//    Entry points only when the current context advertises their extension; wglSwapIntervalEXT
//    is this layer's own function over the GLX swap-control extensions.
//  - fonts: X core fonts picked by XLFD with a fallback chain that ends at "fixed"; glyphs are
//    built with glXUseXFont.
//  - boxes: one line "caption: text" on standard error, then a modal dialog drawn over xcb on a
//    connection of its own (dialog/dialog.h); ZNVELMORA_MESSAGEBOX=stderr or no display leaves
//    the line alone, and nothing blocks.
//  - QueryPerformanceFrequency / QueryPerformanceCounter / Sleep / _stricmp: platform/posix.
//
// All of the layer's state (connections, the error handlers' state, the watcher, what it learnt
// of each connection) lives in one Platform object (x11_platform.cpp) that starts on the first
// call that needs it and shuts down at exit (or in a forked child, which must not use its
// parent's connections).
//
// Locks: each has its rank beside its declaration (LockRank in platform/native.h). Only the leaf
// (Platform::errorMutex) is taken inside Xlib's error callbacks, the layer never takes Xlib's own
// display lock (XLockDisplay), and the host's connection gets no request of the layer's under any
// lock.
//
// Connections (x11_connection.cpp): the layer sends its requests on a connection of its own,
// opened to the server the host's connection is on when the host handed one over
// (znSetX11Display), else to DISPLAY. The host's connection carries none of the layer's requests
// but one XSync before a window is first used, so that the host's window exists for the layer's
// connection. Chosen over sharing the host's connection because telling the layer's errors from
// the host's there needs Xlib's display lock held across the layer's requests, and a thread that
// holds it while waiting for a reply deadlocks with a host thread inside XSync delivering the
// error of a request without a reply (whose handler waits for that lock). A host thread's errors
// therefore always reach the host's handler, whichever thread reads them. Each rendering context
// renders on a connection of its own besides (see X11Context).
//
// How X errors reach the request that caused them (x11_errors.cpp):
//  - Xlib's error handler is process-wide and errors carry only a display and a serial number.
//    On the layer's connections only the layer sends requests, and its traps take turns on a
//    lock of the connection's own, so every error with a serial from a trap's first request on
//    is that trap's. Traps on different connections never wait for each other.
//  - Chosen over a connection per thread because contexts move between threads as WGL allows
//    (a context's own connection moves with it), and over checked xcb requests because most
//    failures come from inside GLX and Mesa, which report through Xlib.
//  - The layer's handlers stay installed from its start; a trap opening puts them back when
//    the host replaced them, taking the host's as the one to forward to. Errors outside any trap
//    on a connection of the layer's are its own (Mesa asks for a window's geometry during GL
//    calls, and the host may have destroyed the window): they are said on standard error and end
//    nothing. Every other error goes to the host's handler.
//  - A connection of the layer's that is lost (server gone, client killed) never ends the
//    process: its IO error ends in a per-connection exit handler that returns, the calls on it
//    then fail, and the next handle is made on a new connection.
//
// Where it differs from Windows (beyond the rules layer's own differences, platform/rules):
//  - X protocol errors (a destroyed window, BadMatch) are trapped and turn into failure results,
//    and every failure writes one line on standard error saying why (kDiagnosticPrefix).
//  - wglGetProcAddress answers only the nine extension entry points the library looks up.
//  - wglSwapIntervalEXT is offered with every context, as Wine offers it; where GLX has no swap
//    control it accepts only interval 0 (see glx_procaddress.cpp).
//  - Fonts come from the X server's core fonts, so sizes snap to the bitmap sizes installed.
//  - The screen's device context (GetDC(NULL)) takes no pixel format: ChoosePixelFormat answers
//    0 there, where Windows chooses one; SetPixelFormat is refused on both.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <GL/glx.h>
#include <X11/Xlib.h>

#include "platform/native.h"
#include "platform/pixel_format.h"
#include "platform/ranked_mutex.h"

namespace zn::x11 {

using zn::platform::RankedMutex;
using zn::platform::RankedRecursiveMutex;
using zn::native::FormatTraits;
using zn::native::hasExtension;

// ---- connections (x11_connection.cpp)

// A connection the layer opened, with what it learnt about it. What is learnt is kept here
// rather than by Display address, which a new connection may take over once this one closes.
// It never ends the process, and the layer closes it.
struct Connection {
    explicit Connection(Display* display) : display(display) {}
    Display* const display;
    // Its IO failed (server gone, client killed): every call on it fails from then on.
    std::atomic<bool> lost{false};
    // Held by a trap open on the connection (see ErrorTrap).
    RankedRecursiveMutex<zn::platform::kTrapRank> trapLock;

    RankedMutex<zn::platform::kLearntRank> learntMutex;
    int indirect = -1;              // contexts render indirectly: -1 not asked yet
    std::map<int, int> swapControl; // per screen, the swap-control extension found
};

// The connection new handles use, opened on first need to the host's server or DISPLAY. Null
// when no display can be opened, which the first call that needs one says on standard error.
std::shared_ptr<Connection> connection(bool reportFailure = true);
// The same connection's display, for callers that need no more.
Display* display(bool reportFailure = true);
// Opens a connection of the layer's own to the named server (null: DISPLAY); it is lost, rather
// than read, in a forked child. Null when it cannot be opened.
std::shared_ptr<Connection> openOwnConnection(const char* server);
// A connection of the layer's own to the server, set up for GLX, for one rendering context alone
// (see X11Context): one a deleted context gave back, or a new one. Null when none can be opened.
std::shared_ptr<Connection> takeContextConnection(const std::string& server);
// Keeps a deleted context's connection for the next context, unless it is lost.
void giveBackContextConnection(const std::shared_ptr<Connection>& connection);
// Closes a connection the layer opened, lost or not.
void closeOwnConnection(const std::shared_ptr<Connection>& connection);
// Waits until the server has done what the host asked on the connection it handed over, so that
// the host's new window exists for the layer's connection. No lock is held meanwhile.
void syncHostConnection();

// Turns the X protocol errors raised by the requests made during its lifetime into a result
// instead of a process exit. It holds the connection's trap lock while open (see the top of this
// file), so its requests are told apart by serial number: opening and closing a trap costs no
// round trip; only failed() waits, and only for requests still unanswered. On a display the layer
// did not open (a host's context released by wglMakeCurrent(NULL, NULL)) it takes no lock and
// claims every error from its first request on.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // True when one of the trap's requests failed, or the connection was lost.
    bool failed();
    // The first failure in words: the X error code, its text, the request and the resource.
    std::string why() const;

    // Takes the error when it belongs to one of this trap's requests (the error handler asks).
    bool claims(Display* display, const XErrorEvent& event);

  private:
    bool outstanding() const;

    Display* display;
    std::shared_ptr<Connection> known; // null for a connection the layer does not know
    unsigned long firstRequest;
    XErrorEvent error;
};

// Every line the layer writes on standard error starts with this.
inline const char* const kDiagnosticPrefix = "znVelmora x11: ";
// One line on standard error saying why a call failed, beside whatever the library reports.
void diagnose(const char* call, const std::string& why);

inline Window windowOf(HWND window) {
    return static_cast<Window>(reinterpret_cast<uintptr_t>(window));
}

// ---- windows (x11_window.cpp)

// A window, or the screen, as a device context draws on it.
struct X11Window : native::Window {
    std::shared_ptr<Connection> connection;
    Display* display;
    ::Window window; // None for the screen
    int screen;
    VisualID visual;
    int depth;
    int visualClass;
};

// True while the window exists; the screen always does.
bool windowExists(const X11Window& target);

// ---- pixel formats (glx_pixelformat.cpp, pixel_format.cpp)

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

// What a framebuffer configuration offers, read for a device context's window.
FormatTraits readTraits(Display* display, GLXFBConfig config, const X11Window& target);

// ---- rendering contexts (glx_context.cpp, glx_procaddress.cpp)

// NOTE: each context renders on a connection no other context uses meanwhile: one a deleted
// context gave back (which saves setting GLX up again), else a new one. Mesa keeps a software
// renderer per connection and screen, and llvmpipe (Mesa 22.3) checks whether a resource it maps
// is in use by walking the pending work of every context of that renderer without their owners'
// locks: contexts of one connection rendering on two threads at once then crash now and then (a
// hand-written GLX loop does too). Contexts on connections of their own never walk each other's
// work.
struct X11Context : native::Context {
    std::shared_ptr<Connection> connection;
    GLXContext context;
    int screen;
};

// ---- fonts (x11_font.cpp, x11_xlfd.cpp)

struct X11Font : native::Font {
    X11Font(std::shared_ptr<Connection> connection, XFontStruct* info, std::string xlfd)
        : connection(std::move(connection)), info(info), xlfd(std::move(xlfd)) {}
    // Frees the X font: the last reference to it goes when no thread uses it any more.
    ~X11Font() override;
    X11Font(const X11Font&) = delete;
    X11Font& operator=(const X11Font&) = delete;

    const std::shared_ptr<Connection> connection;
    XFontStruct* const info;
    const std::string xlfd;
};

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

// ---- the back-end (each operation in the file of its topic)

class GlxBackend final : public native::Backend {
  public:
    std::shared_ptr<native::Window> openWindow(HWND window) override; // x11_window.cpp
    bool isIconic(HWND window) override;                              // x11_watch.cpp

    // glx_pixelformat.cpp
    int chooseFormat(native::Window& window, const PIXELFORMATDESCRIPTOR& request) override;
    int describeFormat(native::Window& window, int format, PIXELFORMATDESCRIPTOR* out) override;
    bool drawsToWindow(native::Window& window, int format) override;
    int windowFormat(native::Window& window) override;
    bool storeWindowFormat(native::Window& window, int format) override;

    // glx_context.cpp
    std::shared_ptr<native::Context> createContext(native::Window& window, int format) override;
    bool makeCurrent(native::Window& window, native::Context& context) override;
    bool releaseCurrent() override;
    bool isCurrent(native::Context& context) override;
    bool deleteContext(native::Context& context) override;
    bool swapBuffers(native::Window& window) override;
    PROC procAddress(const char* name) override; // glx_procaddress.cpp

    // x11_font.cpp
    std::shared_ptr<native::Font> createFont(const native::FontRequest& request) override;
    bool useFontBitmaps(native::Font* font, DWORD first, DWORD count, DWORD listBase) override;

    // dialog/message_box.cpp, x11_errors.cpp
    int messageBox(HWND owner, const char* text, const char* caption, UINT style) override;
    void diagnose(const char* call, const std::string& why) override;
};

// ---- the platform object (x11_platform.cpp)

class Watcher; // x11_watch.h

// All of the layer's state. It starts on the first call that needs it and shuts down at exit,
// when the watch connection is closed. A forked child drops what it inherited: its connections'
// sockets are its parent's, so they are marked lost (their handles then fail) and new ones are
// opened.
struct Platform {
    Platform();
    ~Platform();

    // Connections (x11_connection.cpp): the one the host handed over, the server it is on, the
    // layer's current connection and the spare ones of deleted contexts. openMutex is taken
    // alone by the one thread that opens a connection and sets GLX up on it.
    RankedMutex<zn::platform::kOpenRank> openMutex;
    RankedMutex<zn::platform::kConnectionRank> connectionMutex;
    Display* host = nullptr;
    std::string hostServer;
    std::shared_ptr<Connection> own;
    bool openFailed = false;
    // Connections of deleted rendering contexts, each for the next context made.
    std::vector<std::shared_ptr<Connection>> spare;

    // Mesa's glXGetFBConfigs answers no configuration at all now and then when two threads ask
    // at once, so they ask in turn (glx_pixelformat.cpp).
    RankedMutex<zn::platform::kConfigRank> configMutex;

    // The error handlers' state (x11_errors.cpp): the handlers that were installed before the
    // layer's, to which errors not its own go; under the leaf lock, the open traps (innermost
    // last) and every connection the layer opened and has not closed yet (a lost one stays too,
    // since handles made on it may still name it).
    RankedMutex<zn::platform::kHandlerRank> handlerMutex;
    std::atomic<XErrorHandler> hostErrorHandler{nullptr};
    std::atomic<XIOErrorHandler> hostIOErrorHandler{nullptr};
    RankedMutex<zn::platform::kLeafRank> errorMutex;
    std::vector<ErrorTrap*> openTraps;
    std::vector<std::shared_ptr<Connection>> opened;
    // The connection the layer opened for a display, if any; call with errorMutex held.
    const std::shared_ptr<Connection>* findOpened(Display* display) const;

    const std::unique_ptr<Watcher> watcher;
    GlxBackend glx;
};

// The platform, started on first use.
Platform& platform();
// Installs the layer's error handlers, or puts them back when the host replaced them.
void installErrorHandlers(Platform& state);
// The connection a display belongs to, when the layer opened it.
std::shared_ptr<Connection> connectionOf(Display* display);

} // namespace zn::x11
