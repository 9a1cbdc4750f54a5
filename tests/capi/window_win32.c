#include <windows.h>

#include "window.h"

static HWND window;

void* open_window(int width, int height) {
    WNDCLASSA windowClass = {0};
    RECT frame = {0, 0, 0, 0};
    frame.right = width;
    frame.bottom = height;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "znVelmoraCHost";
    if (!RegisterClassA(&windowClass))
        return NULL;
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window = CreateWindowA("znVelmoraCHost", "C host", WS_OVERLAPPEDWINDOW, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, NULL, NULL,
                           windowClass.hInstance, NULL);
    if (window)
        ShowWindow(window, SW_SHOW);
    pump_window();
    return window;
}

void pump_window(void) {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void close_window(void) {
    DestroyWindow(window);
}
