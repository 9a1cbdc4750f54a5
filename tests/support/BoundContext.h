// A window's device context with the library's pixel format and a rendering context made
// current on it, as initRenderContext leaves them. The seam suite (on every platform) and the
// x11 layer's tests bind their windows with it.
#pragma once

#include <gtest/gtest.h>

#include "context/pixelFormatRequest.h"
#include "platform/win32api.h"

struct BoundContext {
    HDC dc;
    int format;
    HGLRC rc;
};

inline BoundContext bindContext(HWND window) {
    BoundContext bound = {GetDC(window), 0, nullptr};
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    bound.format = ChoosePixelFormat(bound.dc, &request);
    EXPECT_TRUE(SetPixelFormat(bound.dc, bound.format, &request));
    bound.rc = wglCreateContext(bound.dc);
    EXPECT_NE(bound.rc, nullptr);
    EXPECT_TRUE(wglMakeCurrent(bound.dc, bound.rc));
    return bound;
}

// Gives everything back, in the order destroyRenderContext does.
inline void releaseContext(HWND window, const BoundContext& bound) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(bound.rc);
    ReleaseDC(window, bound.dc);
}
