// The smallest Windows host: a Win32 window of its own and a message loop that renders between
// messages.
//   win32_host [FRAMES]
#include <cstdio>
#include <string>

#include "TriangleScene.h"

namespace {

bool open = true;
int width = 320;
int height = 240;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        width = LOWORD(lParam);
        height = HIWORD(lParam);
        return 0;
    case WM_CLOSE:
        open = false;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv) {
    int frameLimit = 0;
    if (!readFrameLimit(argc, argv, frameLimit))
        return 2;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC; // OpenGL keeps the window's device context for its life
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "znVelmoraWin32Host";
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowA(windowClass.lpszClassName, "znVelmora Win32 host",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        std::fprintf(stderr, "win32_host: no window\n");
        return 1;
    }

    TriangleScene scene;
    scene.width = width;
    scene.height = height;
    znVelmora manager(window, &scene);
    manager.setWindowSize(0, 0, width, height);
    if (!manager.initializeOpenGL()) { // the failure was reported; there is nothing to tear down
        DestroyWindow(window);
        return 1;
    }
    const std::string renderer = manager.getGLRenderer();
    while (open && (frameLimit == 0 || scene.frames < frameLimit)) {
        manager.enterRenderLoop();
        manager.renderFunc();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (width != scene.width || height != scene.height) {
            scene.width = width;
            scene.height = height;
            manager.setWindowSize(0, 0, width, height);
        }
    }
    manager.destroyOpenGL();
    DestroyWindow(window);
    std::printf("win32_host: %d frames with %s\n", scene.frames, renderer.c_str());
    return 0;
}
