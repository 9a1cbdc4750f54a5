// X errors to the request that caused them: the layer's error and IO error handlers, the trap
// that turns a request's protocol error into a result, and the diagnostic line. The design and
// why it was chosen are at the top of x11_platform.h.
#include <algorithm>
#include <cstdio>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

const int kGetGeometryRequest = 14; // X_GetGeometry of the core protocol

// The requests Mesa makes by itself during GL calls on a window the layer renders into.
bool fromMesa(const Connection& connection, const XErrorEvent& event) {
    return event.request_code == kGetGeometryRequest ||
           (connection.glxOpcode != 0 && event.request_code == connection.glxOpcode);
}

std::string describe(Display* display, const XErrorEvent& event) {
    char text[256] = "";
    XGetErrorText(display, event.error_code, text, sizeof text);
    char line[400];
    std::snprintf(line, sizeof line, "X error %d (%s) from request %d.%d on resource 0x%lx",
                  event.error_code, text, event.request_code, event.minor_code, event.resourceid);
    return line;
}

int handleError(Display* display, XErrorEvent* event) {
    Platform& state = platform();
    {
        std::lock_guard<std::mutex> lock(state.trapMutex);
        for (auto trap = state.openTraps.rbegin(); trap != state.openTraps.rend(); ++trap)
            if ((*trap)->claims(display, *event))
                return 0;
    }
    const std::shared_ptr<Connection> known = connectionOf(display);
    const bool ours =
        known &&
        (known->owned || (rendersInto(display, event->resourceid) && fromMesa(*known, *event)));
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
    if (known && known->owned) {
        known->lost = true;
        diagnose("XIOError",
                 std::string("lost the connection to \"") + DisplayString(display) + "\"");
        // The connection's exit handler (see openOwnConnection) returns in place of exit().
        return 0;
    }
    const XIOErrorHandler host = platform().hostIOErrorHandler;
    return host ? host(display) : 0;
}

} // namespace

void installErrorHandlers(Platform& state) {
    // Xlib's own lock orders this with a host thread's XSetErrorHandler; the layer's lock makes
    // the handler that was there before the one to forward to.
    std::lock_guard<std::mutex> lock(state.handlerMutex);
    const XErrorHandler before = XSetErrorHandler(handleError);
    if (before != handleError)
        state.hostErrorHandler = before;
    const XIOErrorHandler ioBefore = XSetIOErrorHandler(handleIOError);
    if (ioBefore != handleIOError)
        state.hostIOErrorHandler = ioBefore;
}

void diagnose(const char* call, const std::string& why) {
    std::fprintf(stderr, "%s%s: %s\n", kDiagnosticPrefix, call, why.c_str());
    std::fflush(stderr);
}

ErrorTrap::ErrorTrap(Display* display)
    : display(display), firstRequest(0), error() {
    Platform& state = platform();
    installErrorHandlers(state);
    // No other thread sends a request on the connection until the trap closes. NOTE: on the
    // layer's own connections only its own traps take turns: holding Xlib's display lock there
    // while Mesa sends GLX requests through xcb deadlocks with another render thread whose
    // Mesa request is inside xcb waiting for that lock.
    known = connectionOf(display);
    if (known && known->owned)
        known->trapLock.lock();
    else
        XLockDisplay(display);
    firstRequest = NextRequest(display);
    std::lock_guard<std::mutex> lock(state.trapMutex);
    state.openTraps.push_back(this);
}

ErrorTrap::~ErrorTrap() {
    // Errors of this trap's requests must not reach the host's handler after it closes.
    if (outstanding())
        XSync(display, False);
    Platform& state = platform();
    {
        std::lock_guard<std::mutex> lock(state.trapMutex);
        state.openTraps.erase(std::find(state.openTraps.begin(), state.openTraps.end(), this));
    }
    if (known && known->owned)
        known->trapLock.unlock();
    else
        XUnlockDisplay(display);
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
