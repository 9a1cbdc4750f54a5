// The demo's window on Windows: a Win32 window with its own device context, as OpenGL needs.
#include <windows.h>

#include <cmath>
#include <stdexcept>

#include "DemoWindow.h"

namespace {

const char* const kClassName = "znVelmoraDemo";

// What the window procedure keeps for the host between two polls.
struct WindowState {
    int width = 0;
    int height = 0;
    std::vector<Command> commands;
};

bool commandForKey(WPARAM key, Command& command) {
    switch (key) {
    case VK_ESCAPE:
        command = Command::quit;
        return true;
    case 'F':
    case 'O':
        command = Command::toggleOverlay;
        return true;
    case VK_ADD:
    case VK_OEM_PLUS:
        command = Command::raiseRate;
        return true;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        command = Command::lowerRate;
        return true;
    case 'M':
    case VK_SPACE:
        command = Command::switchModel;
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(creation->lpCreateParams));
    }
    auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!state)
        return DefWindowProcA(window, message, wParam, lParam);
    Command command;
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            state->width = LOWORD(lParam);
            state->height = HIWORD(lParam);
        }
        return 0;
    case WM_KEYDOWN:
        if (commandForKey(wParam, command))
            state->commands.push_back(command);
        return 0;
    case WM_CLOSE:
        // The host tears OpenGL down before the window goes.
        state->commands.push_back(Command::quit);
        return 0;
    case WM_ERASEBKGND:
        return 1; // every frame covers the whole drawing area
    case WM_PAINT:
        ValidateRect(window, nullptr); // the next frame repaints
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("cannot register the window class");
}

} // namespace

struct DemoWindow::System {
    HWND window = nullptr;
    WindowState state;
};

DemoWindow::DemoWindow(const char* title, int width, int height) : system(new System) {
    registerClass();
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    system->window = CreateWindowExA(0, kClassName, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                     frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), &system->state);
    if (!system->window)
        throw std::runtime_error("cannot create the window");
    ShowWindow(system->window, SW_SHOW);
    UpdateWindow(system->window);
    RECT client;
    GetClientRect(system->window, &client);
    system->state.width = client.right;
    system->state.height = client.bottom;
}

DemoWindow::~DemoWindow() {
    DestroyWindow(system->window);
    pollEvents();
}

HWND DemoWindow::handle() const {
    return system->window;
}

int DemoWindow::width() const {
    return system->state.width;
}

int DemoWindow::height() const {
    return system->state.height;
}

bool DemoWindow::minimised() const {
    return IsIconic(system->window) != FALSE;
}

std::vector<Command> DemoWindow::pollEvents() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    std::vector<Command> commands;
    commands.swap(system->state.commands);
    return commands;
}

std::vector<Command> DemoWindow::waitEvents(double timeoutSeconds) {
    const DWORD timeout =
        timeoutSeconds < 0 ? INFINITE : static_cast<DWORD>(std::ceil(timeoutSeconds * 1000));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, QS_ALLINPUT);
    return pollEvents();
}

std::vector<unsigned char> DemoWindow::capture() {
    const int width = system->state.width;
    const int height = system->state.height;
    std::vector<unsigned char> rgb;
    HDC screen = GetDC(system->window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY)) {
            const unsigned char* bgrx = static_cast<const unsigned char*>(bits);
            rgb.reserve(size_t(width) * height * 3);
            for (size_t i = 0; i < size_t(width) * height; ++i)
                rgb.insert(rgb.end(), {bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]});
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(system->window, screen);
    return rgb;
}
