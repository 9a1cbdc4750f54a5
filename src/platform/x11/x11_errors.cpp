// X errors to the request that caused them: the layer's error and IO error handlers, the trap
// that turns a request's protocol error into a result, and the diagnostic line. The design and
// why it was chosen are at the top of x11_platform.h.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

std::string describe(Display* display, const XErrorEvent& event) {
    char text[256] = "";
    XGetErrorText(display, event.error_code, text, sizeof text);
    char line[400];
    std::snprintf(line, sizeof line, "X error %d (%s) from request %d.%d on resource 0x%lx",
                  event.error_code, text, event.request_code, event.minor_code, event.resourceid);
    return line;
}

// Runs inside Xlib, on whichever thread read the error, with the display's user lock held: it
// takes the leaf lock alone and sends no request.
int handleError(Display* display, XErrorEvent* event) {
    Platform& state = platform();
    bool ours = false;
    {
        std::lock_guard<decltype(state.errorMutex)> lock(state.errorMutex);
        for (auto trap = state.openTraps.rbegin(); trap != state.openTraps.rend(); ++trap)
            if ((*trap)->claims(display, *event))
                return 0;
        ours = state.findOpened(display) != nullptr;
    }
    // Outside any trap on a connection of the layer's: a request Mesa made by itself during a GL
    // call (it asks for a window's geometry, and the host may have destroyed the window).
    if (ours) {
        diagnose("OpenGL", describe(display, *event));
        return 0;
    }
    // An error of a request the layer did not make goes where it would have gone.
    const XErrorHandler host = state.hostErrorHandler;
    return host ? host(display, event) : 0;
}

int handleIOError(Display* display) {
    const std::shared_ptr<Connection> known = connectionOf(display);
    if (known) {
        known->lost = true;
        diagnose("XIOError",
                 std::string("lost the connection to \"") + DisplayString(display) + "\"");
        // The connection's exit handler (see openOwnConnection) returns in place of exit().
        return 0;
    }
    const XIOErrorHandler host = platform().hostIOErrorHandler;
    return host ? host(display) : 0;
}

// True for a function of the GL driver's libraries (libGL*, *_dri.so).
bool inGLDriver(void* function) {
    Dl_info info;
    if (!function || !dladdr(function, &info) || !info.dli_fname)
        return false;
    const char* slash = std::strrchr(info.dli_fname, '/');
    const char* name = slash ? slash + 1 : info.dli_fname;
    return std::strncmp(name, "libGL", 5) == 0 || std::strstr(name, "_dri.") != nullptr;
}

} // namespace

void installErrorHandlers(Platform& state) {
    // Xlib's own lock orders this with a host thread's XSetErrorHandler; the layer's lock makes
    // the handler that was there before the one to forward to. NOTE: Mesa's software
    // rasteriser puts a handler of its own in for a moment while it attaches a shared-memory
    // image (the first frame of a context, and after a resize), then puts back the one it found:
    // a handler of the GL driver is never taken for the host's, or the host's errors would go
    // to it for good.
    std::lock_guard<decltype(state.handlerMutex)> lock(state.handlerMutex);
    const XErrorHandler before = XSetErrorHandler(handleError);
    if (before != handleError && !inGLDriver(reinterpret_cast<void*>(before)))
        state.hostErrorHandler = before;
    const XIOErrorHandler ioBefore = XSetIOErrorHandler(handleIOError);
    if (ioBefore != handleIOError)
        state.hostIOErrorHandler = ioBefore;
}

void diagnose(const char* call, const std::string& why) {
    std::fprintf(stderr, "%s%s: %s\n", kDiagnosticPrefix, call, why.c_str());
    std::fflush(stderr);
}

void GlxBackend::diagnose(const char* call, const std::string& why) {
    x11::diagnose(call, why);
}

ErrorTrap::ErrorTrap(Display* display) : display(display), firstRequest(0), error() {
    Platform& state = platform();
    // The layer's traps on a connection take turns, and only the layer sends requests there, so
    // every error from the trap's first request on is the trap's. NOTE: Xlib's own display lock
    // (XLockDisplay) is never taken: a thread that holds it and waits for a reply deadlocks with
    // another thread inside XSync that is delivering an error, and Mesa's GLX requests go
    // through xcb, where another render thread may wait for that lock.
    known = connectionOf(display);
    if (known)
        known->trapLock.lock();
    installErrorHandlers(state);
    firstRequest = NextRequest(display);
    std::lock_guard<decltype(state.errorMutex)> lock(state.errorMutex);
    state.openTraps.push_back(this);
}

ErrorTrap::~ErrorTrap() {
    // Errors of this trap's requests must not reach the host's handler after it closes.
    if (outstanding())
        XSync(display, False);
    Platform& state = platform();
    {
        std::lock_guard<decltype(state.errorMutex)> lock(state.errorMutex);
        state.openTraps.erase(std::find(state.openTraps.begin(), state.openTraps.end(), this));
    }
    if (known)
        known->trapLock.unlock();
}

bool ErrorTrap::claims(Display* errorDisplay, const XErrorEvent& event) {
    if (errorDisplay != display || event.serial < firstRequest)
        return false;
    if (error.error_code == Success)
        error = event;
    return true;
}

bool ErrorTrap::outstanding() const {
    // Replies, events and errors arrive in request order, so once the last request's serial
    // has been seen, every error this trap can get has been handled.
    return LastKnownRequestProcessed(display) + 1 < NextRequest(display) &&
           NextRequest(display) > firstRequest;
}

bool ErrorTrap::failed() {
    if (error.error_code == Success && outstanding())
        XSync(display, False);
    return error.error_code != Success || (known && known->lost);
}

std::string ErrorTrap::why() const {
    if (error.error_code != Success)
        return describe(display, error);
    return known && known->lost ? "the connection to the X server is lost" : "no X error";
}

} // namespace zn::x11
