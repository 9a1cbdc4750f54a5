// The recording platform has no windows: a window is any non-null handle, and each test starts
// from the platform's default script.
#include <cstdint>

#include "Seam.h"
#include "znRecord.h"

struct SeamWindow::System {
    HWND window;
};

SeamWindow::SeamWindow() : system(new System) {
    static uintptr_t next = 0x10;
    system->window = reinterpret_cast<HWND>(next++);
}

SeamWindow::~SeamWindow() = default;

HWND SeamWindow::handle() const {
    return system->window;
}

bool SeamWindow::destroy() {
    return false;
}

void seam::resetPlatform() {
    znRecord::reset();
}

bool seam::onWine() {
    return false;
}
