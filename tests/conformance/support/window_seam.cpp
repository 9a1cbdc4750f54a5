// The x11 and wayland back-ends and Windows (or Wine standing in for it) answer for the live tests' windows.
// Their device contexts are common ones, which ReleaseDC really gives back, as a host's plain
// window has.
#include "LiveWindow.h"
#include "Seam.h"

struct SeamWindow::System {
    LiveWindow window{64, 48, LiveWindow::DeviceContexts::Common};
    // Kept, since the live window on X11 forgets its id once destroyed.
    HWND handle = window.handle();
};

SeamWindow::SeamWindow() : system(new System) {}

SeamWindow::~SeamWindow() = default;

HWND SeamWindow::handle() const {
    return system->handle;
}

bool SeamWindow::destroy() {
    return system->window.destroy();
}

void seam::resetPlatform() {
    // What a failed case left current must not carry over.
    wglMakeCurrent(nullptr, nullptr);
}

bool seam::onWine() {
    return runningUnderWine();
}
