// The X connection the layer works on, the trap that turns protocol errors into results, and
// the diagnostic line that says why a call failed.
#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

std::mutex connectionMutex;
Display* hostDisplay = nullptr;
Display* ownDisplay = nullptr;
bool openFailed = false;

// The handler is process-wide, so traps take turns across threads; on one thread a trap may
// open inside another. The open traps form a stack through their outer links; the innermost is
// atomic because another thread's connection may call the handler while a trap opens or closes.
std::recursive_mutex trapMutex;
std::atomic<ErrorTrap*> innermostTrap{nullptr};
XErrorHandler handlerBeforeTraps = nullptr;

int trapError(Display* display, XErrorEvent* event) {
    for (ErrorTrap* trap = innermostTrap; trap; trap = trap->outerTrap())
        if (trap->claims(display, *event))
            return 0;
    // An error of a request made before any trap opened is none of ours: it goes where it
    // would have gone.
    return handlerBeforeTraps ? handlerBeforeTraps(display, event) : 0;
}

// NOTE: Mesa sets GLX up on a connection at its first GLX call. When two threads make their
// first calls at once, while one of them has an error trap open, the other's set-up may find
// no framebuffer configurations; so it is done before the connection is handed out.
void initializeGLX(Display* connection) {
    int major = 0, minor = 0;
    glXQueryVersion(connection, &major, &minor);
}

} // namespace

Display* display(bool reportFailure) {
    std::lock_guard<std::mutex> lock(connectionMutex);
    if (hostDisplay)
        return hostDisplay;
    // Never closed: contexts, fonts and device contexts made on it may live until exit.
    if (!ownDisplay && !openFailed) {
        ownDisplay = XOpenDisplay(nullptr);
        if (ownDisplay)
            initializeGLX(ownDisplay);
    }
    // Said once: every later call fails the same way for the same reason.
    if (!ownDisplay && reportFailure && !openFailed) {
        openFailed = true;
        diagnose("XOpenDisplay", std::string("cannot open display \"") + XDisplayName(nullptr) +
                                     "\" (is DISPLAY set?)");
    }
    return ownDisplay;
}

void diagnose(const char* call, const std::string& why) {
    std::fprintf(stderr, "%s%s: %s\n", kDiagnosticPrefix, call, why.c_str());
    std::fflush(stderr);
}

ErrorTrap::ErrorTrap(Display* display)
    : display(display), firstRequest(0), error(), previousHandler(nullptr), outer(nullptr) {
    trapMutex.lock();
    firstRequest = NextRequest(display);
    // Requests made before this point are told apart by their serial numbers, so there is no
    // need to wait for the server to answer them first.
    outer = innermostTrap;
    innermostTrap = this;
    previousHandler = XSetErrorHandler(trapError);
    if (previousHandler != trapError)
        handlerBeforeTraps = previousHandler;
}

ErrorTrap::~ErrorTrap() {
    // Errors of this trap's requests must not reach the host's handler after it closes.
    if (outstanding())
        XSync(display, False);
    XSetErrorHandler(previousHandler);
    innermostTrap = outer;
    trapMutex.unlock();
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
    return error.error_code != Success;
}

std::string ErrorTrap::why() const {
    if (error.error_code == Success)
        return "no X error";
    char text[256] = "";
    XGetErrorText(display, error.error_code, text, sizeof text);
    char line[400];
    std::snprintf(line, sizeof line, "X error %d (%s) from request %d.%d on resource 0x%lx",
                  error.error_code, text, error.request_code, error.minor_code, error.resourceid);
    return line;
}

} // namespace zn::x11

void znSetX11Display(Display* display) {
    std::lock_guard<std::mutex> lock(zn::x11::connectionMutex);
    if (display)
        zn::x11::initializeGLX(display);
    zn::x11::hostDisplay = display;
}
