#include <windows.h>

#include <stdexcept>

#include "LiveWindow.h"

struct LiveWindow::System {
    HWND window = nullptr;
};

namespace {

// A class per kind of device context, registered when first asked for.
const char* classFor(LiveWindow::DeviceContexts contexts) {
    const bool own = contexts == LiveWindow::DeviceContexts::Own;
    const char* const name = own ? "znVelmoraLiveTest" : "znVelmoraLiveTestCommonDC";
    static bool registered[2] = {false, false};
    if (!registered[own]) {
        WNDCLASSA windowClass = {};
        windowClass.style = (own ? CS_OWNDC : 0) | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = name;
        registered[own] = RegisterClassA(&windowClass) != 0;
    }
    return name;
}

} // namespace

LiveWindow::LiveWindow(int width, int height, DeviceContexts contexts)
    : system(new System), width_(width), height_(height) {
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    system->window = CreateWindowExA(0, classFor(contexts), "znVelmora live test", style, 0, 0,
                                     frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!system->window)
        throw std::runtime_error("cannot create a window");
    ShowWindow(system->window, SW_SHOW);
    UpdateWindow(system->window);
    pump();
}

LiveWindow::~LiveWindow() {
    destroy();
}

HWND LiveWindow::handle() const {
    return system->window;
}

bool LiveWindow::destroy() {
    if (system->window && IsWindow(system->window))
        DestroyWindow(system->window);
    pump();
    return true;
}

void LiveWindow::pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::vector<unsigned char> LiveWindow::capture() {
    std::vector<unsigned char> rgb;
    HDC screen = GetDC(system->window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
        const unsigned char* bgra = static_cast<const unsigned char*>(bits);
        rgb.reserve(size_t(width_) * height_ * 3);
        for (int i = 0; i < width_ * height_; ++i) {
            rgb.push_back(bgra[4 * i + 2]);
            rgb.push_back(bgra[4 * i + 1]);
            rgb.push_back(bgra[4 * i]);
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(system->window, screen);
    return rgb;
}

bool anyContextCurrent() {
    return wglGetCurrentContext() != nullptr;
}

bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
