// The pixel format the library asks for: double-buffered RGBA for a window, 32 colour and 24
// depth bits.
#pragma once

#include "platform/win32api.h"

inline PIXELFORMATDESCRIPTOR libraryRequest() {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 24;
    return pfd;
}
