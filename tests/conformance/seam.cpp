#include "Seam.h"

BoundWindow::BoundWindow() : dc(GetDC(window.handle())), format(0), rc(nullptr) {
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    format = ChoosePixelFormat(dc, &request);
    EXPECT_TRUE(SetPixelFormat(dc, format, &request));
    rc = wglCreateContext(dc);
    EXPECT_NE(rc, nullptr);
    EXPECT_TRUE(wglMakeCurrent(dc, rc));
}

BoundWindow::~BoundWindow() {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(rc);
    ReleaseDC(window.handle(), dc);
}

int anotherWindowFormat(HDC dc, int format) {
    const DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    const int count = DescribePixelFormat(dc, 1, 0, nullptr);
    for (int other = 1; other <= count; ++other) {
        PIXELFORMATDESCRIPTOR pfd;
        if (other != format && DescribePixelFormat(dc, other, sizeof pfd, &pfd) &&
            (pfd.dwFlags & wanted) == wanted && pfd.iPixelType == PFD_TYPE_RGBA)
            return other;
    }
    return 0;
}
