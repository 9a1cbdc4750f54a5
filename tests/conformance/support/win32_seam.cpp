// Windows itself, or Wine standing in for it. The window class has no CS_OWNDC, so GetDC hands
// out common device contexts, which ReleaseDC really gives back.
#include <stdexcept>

#include "Seam.h"

struct SeamWindow::System {
    HWND window = nullptr;
};

namespace {

const char* const kClassName = "znVelmoraSeamTest";

void registerClass() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassA(&windowClass) != 0;
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

} // namespace

SeamWindow::SeamWindow() : system(new System) {
    registerClass();
    system->window = CreateWindowExA(0, kClassName, "znVelmora seam test",
                                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                     64, 48, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!system->window)
        throw std::runtime_error("cannot create a window");
    ShowWindow(system->window, SW_SHOW);
    pump();
}

SeamWindow::~SeamWindow() {
    destroy();
}

HWND SeamWindow::handle() const {
    return system->window;
}

bool SeamWindow::destroy() {
    if (IsWindow(system->window))
        DestroyWindow(system->window);
    pump();
    return true;
}

void seam::resetPlatform() {
    wglMakeCurrent(nullptr, nullptr);
}

bool seam::onWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
