// Window services: device contexts are checked handles, held until released.
#include "Seam.h"

namespace {

using DeviceContexts = Seam;

TEST_F(DeviceContexts, AreHeldUntilReleasedOnce) {
    SeamWindow window;
    HDC dc = GetDC(window.handle());
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ReleaseDC(window.handle(), dc), 1);
    EXPECT_EQ(ReleaseDC(window.handle(), dc), 0);
}

TEST_F(DeviceContexts, AReleasedOneIsRefused) {
    SeamWindow window;
    HDC dc = GetDC(window.handle());
    ASSERT_EQ(ReleaseDC(window.handle(), dc), 1);
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    EXPECT_EQ(ChoosePixelFormat(dc, &request), 0);
    EXPECT_FALSE(SetPixelFormat(dc, 1, &request));
    EXPECT_EQ(wglCreateContext(dc), nullptr);
    EXPECT_FALSE(SwapBuffers(dc));
    HFONT font = CreateFontA(15, 0, 0, 0, 400, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial");
    EXPECT_EQ(SelectObject(dc, font), nullptr);
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(DeviceContexts, OfOneWindowAreIndependent) {
    SeamWindow window;
    HDC first = GetDC(window.handle());
    HDC second = GetDC(window.handle());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ReleaseDC(window.handle(), first), 1);
    // The other one is still held and still usable.
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    EXPECT_GT(ChoosePixelFormat(second, &request), 0);
    EXPECT_EQ(ReleaseDC(window.handle(), second), 1);
}

TEST_F(DeviceContexts, NoWindowMeansTheScreen) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    const int count = DescribePixelFormat(screen, 1, 0, nullptr);
    EXPECT_GT(count, 0);
    PIXELFORMATDESCRIPTOR pfd;
    EXPECT_EQ(DescribePixelFormat(screen, count, sizeof pfd, &pfd), count);
    // Only windows take a pixel format, so the screen has none to swap.
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    EXPECT_FALSE(SetPixelFormat(screen, 1, &request));
    EXPECT_FALSE(SwapBuffers(screen));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
}

TEST_F(DeviceContexts, ADestroyedWindowHasNone) {
    SeamWindow window;
    if (!window.destroy())
        GTEST_SKIP() << "this platform has no windows to destroy";
    EXPECT_EQ(GetDC(window.handle()), nullptr);
    EXPECT_FALSE(IsIconic(window.handle()));
    // Nor has a handle that never was a window.
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x3fffffff)), nullptr);
}

TEST_F(DeviceContexts, AShownWindowIsNotMinimised) {
    SeamWindow window;
    EXPECT_FALSE(IsIconic(window.handle()));
    EXPECT_FALSE(IsIconic(nullptr));
}

} // namespace
