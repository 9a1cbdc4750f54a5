// Pixel formats: numbered from 1, described on request, set once per window.
#include "Seam.h"

namespace {

class PixelFormats : public Seam {
  protected:
    void SetUp() override {
        Seam::SetUp();
        dc = GetDC(window.handle());
        ASSERT_NE(dc, nullptr);
        count = DescribePixelFormat(dc, 1, 0, nullptr);
    }
    void TearDown() override { ReleaseDC(window.handle(), dc); }

    SeamWindow window;
    HDC dc = nullptr;
    int count = 0;
};

TEST_F(PixelFormats, WithoutADescriptorTheAnswerIsTheCount) {
    ASSERT_GT(count, 0);
    // The format and size asked do not matter then.
    EXPECT_EQ(DescribePixelFormat(dc, 0, 0, nullptr), count);
    EXPECT_EQ(DescribePixelFormat(dc, count + 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr), count);
}

TEST_F(PixelFormats, EachFormatInRangeIsDescribed) {
    PIXELFORMATDESCRIPTOR pfd;
    for (int format : {1, count}) {
        pfd = {};
        EXPECT_EQ(DescribePixelFormat(dc, format, sizeof pfd, &pfd), count) << format;
        EXPECT_EQ(pfd.nSize, sizeof pfd);
        EXPECT_EQ(pfd.nVersion, 1);
    }
    EXPECT_EQ(DescribePixelFormat(dc, 0, sizeof pfd, &pfd), 0);
    EXPECT_EQ(DescribePixelFormat(dc, count + 1, sizeof pfd, &pfd), 0);
    // A descriptor too small for the description is refused.
    EXPECT_EQ(DescribePixelFormat(dc, 1, sizeof pfd - 1, &pfd), 0);
}

TEST_F(PixelFormats, TheChoiceServesTheLibrarysRequest) {
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    const int format = ChoosePixelFormat(dc, &request);
    ASSERT_GE(format, 1);
    ASSERT_LE(format, count);
    PIXELFORMATDESCRIPTOR pfd;
    ASSERT_EQ(DescribePixelFormat(dc, format, sizeof pfd, &pfd), count);
    EXPECT_EQ(pfd.dwFlags & request.dwFlags, request.dwFlags);
    EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(pfd.cDepthBits, request.cDepthBits);
}

TEST_F(PixelFormats, AWindowsFormatIsSetOnce) {
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    const int format = ChoosePixelFormat(dc, &request);
    const int other = anotherWindowFormat(dc, format);
    ASSERT_GT(other, 0);
    EXPECT_TRUE(SetPixelFormat(dc, format, &request));
    // The same format again is no change.
    EXPECT_TRUE(SetPixelFormat(dc, format, &request));
    EXPECT_FALSE(SetPixelFormat(dc, other, &request));
    // The format belongs to the window, whichever device context asks.
    HDC second = GetDC(window.handle());
    EXPECT_FALSE(SetPixelFormat(second, other, &request));
    EXPECT_TRUE(SetPixelFormat(second, format, &request));
    ReleaseDC(window.handle(), second);
    // Another window may take the other format.
    SeamWindow fresh;
    HDC freshDC = GetDC(fresh.handle());
    EXPECT_TRUE(SetPixelFormat(freshDC, other, &request));
    ReleaseDC(fresh.handle(), freshDC);
}

TEST_F(PixelFormats, AFormatOutOfRangeIsNotSet) {
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    EXPECT_FALSE(SetPixelFormat(dc, count + 1, &request));
    EXPECT_FALSE(SetPixelFormat(dc, 0, &request));
    // Nothing was set: a real format still can be.
    EXPECT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
}

TEST_F(PixelFormats, WithoutAFormatThereIsNoContextAndNoSwap) {
    EXPECT_EQ(wglCreateContext(dc), nullptr);
    EXPECT_EQ(wglCreateContext(nullptr), nullptr);
    EXPECT_FALSE(SwapBuffers(dc));
}

} // namespace
