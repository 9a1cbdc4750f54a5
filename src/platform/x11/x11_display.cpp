// The X connection the layer works on, and the trap that turns protocol errors into results.
#include <mutex>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

std::mutex connectionMutex;
Display* hostDisplay = nullptr;
Display* ownDisplay = nullptr;

// The handler is process-wide, so traps take turns; a trap may open inside another on the
// same thread.
std::recursive_mutex trapMutex;
Display* trappedDisplay = nullptr;
int trappedError = Success;
XErrorHandler handlerBeforeTraps = nullptr;

int trapError(Display* display, XErrorEvent* event) {
    if (display == trappedDisplay) {
        if (trappedError == Success)
            trappedError = event->error_code;
        return 0;
    }
    // Another connection's error is none of ours: it goes where it would have gone.
    return handlerBeforeTraps ? handlerBeforeTraps(display, event) : 0;
}

} // namespace

Display* display() {
    std::lock_guard<std::mutex> lock(connectionMutex);
    if (hostDisplay)
        return hostDisplay;
    // Never closed: contexts, fonts and device contexts made on it may live until exit.
    if (!ownDisplay)
        ownDisplay = XOpenDisplay(nullptr);
    return ownDisplay;
}

ErrorTrap::ErrorTrap(Display* display)
    : display(display), previousHandler(nullptr), outerDisplay(nullptr), outerError(Success) {
    trapMutex.lock();
    // Errors of earlier requests belong to whoever made them, not to this trap.
    XSync(display, False);
    outerDisplay = trappedDisplay;
    outerError = trappedError;
    trappedDisplay = display;
    trappedError = Success;
    previousHandler = XSetErrorHandler(trapError);
    if (previousHandler != trapError)
        handlerBeforeTraps = previousHandler;
}

ErrorTrap::~ErrorTrap() {
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    trappedDisplay = outerDisplay;
    trappedError = outerError;
    trapMutex.unlock();
}

bool ErrorTrap::failed() {
    XSync(display, False);
    return trappedError != Success;
}

} // namespace zn::x11

void znSetX11Display(Display* display) {
    std::lock_guard<std::mutex> lock(zn::x11::connectionMutex);
    zn::x11::hostDisplay = display;
}
