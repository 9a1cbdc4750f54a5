// The x11 layer's windows are the live tests' X windows.
#include "LiveWindow.h"
#include "Seam.h"

struct SeamWindow::System {
    LiveWindow window{64, 48};
    // Kept, since the live window forgets its id once destroyed.
    HWND handle = window.handle();
};

SeamWindow::SeamWindow() : system(new System) {}

SeamWindow::~SeamWindow() = default;

HWND SeamWindow::handle() const {
    return system->handle;
}

bool SeamWindow::destroy() {
    system->window.destroy();
    return true;
}

void seam::resetPlatform() {
    // What a failed case left current must not carry over.
    wglMakeCurrent(nullptr, nullptr);
}

bool seam::onWine() {
    return false;
}
