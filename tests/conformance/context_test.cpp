// Rendering contexts: made for a window's format, current per thread, released and deleted.
#include <atomic>
#include <string>
#include <thread>

#include "Seam.h"
#include "context/glEntryPoints.h"

namespace {

bool hasExtension(const std::string& extensions, const std::string& name) {
    return (" " + extensions + " ").find(" " + name + " ") != std::string::npos;
}

using RenderingContexts = Seam;

TEST_F(RenderingContexts, AreNotCurrentUntilMadeCurrent) {
    SeamWindow window;
    HDC dc = GetDC(window.handle());
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
    HGLRC rc = wglCreateContext(dc);
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    EXPECT_TRUE(wglDeleteContext(rc));
    ReleaseDC(window.handle(), dc);
}

TEST_F(RenderingContexts, ACurrentContextNamesItsDeviceContext) {
    BoundWindow bound;
    ASSERT_NE(bound.rc, nullptr);
    EXPECT_EQ(wglGetCurrentDC(), bound.dc);
    EXPECT_TRUE(SwapBuffers(bound.dc));
}

TEST_F(RenderingContexts, ReleasingLeavesNoneCurrent) {
    BoundWindow bound;
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    // It can be made current again, and draws without an error.
    EXPECT_TRUE(wglMakeCurrent(bound.dc, bound.rc));
    EXPECT_EQ(wglGetCurrentDC(), bound.dc);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(RenderingContexts, ReleasingWhenNoneIsCurrentSucceeds) {
    // NOTE: Wine 8 answers FALSE when nothing is current; Windows releases nothing and succeeds.
    const BOOL expected = seam::onWine() ? FALSE : TRUE;
    EXPECT_EQ(wglMakeCurrent(nullptr, nullptr), expected);
    // Also once a context was current and has been given back.
    { BoundWindow bound; }
    EXPECT_EQ(wglMakeCurrent(nullptr, nullptr), expected);
}

TEST_F(RenderingContexts, DeletingTheCurrentOneReleasesItFirst) {
    BoundWindow bound;
    EXPECT_TRUE(wglDeleteContext(bound.rc));
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    // A deleted context is no context.
    EXPECT_FALSE(wglDeleteContext(bound.rc));
    EXPECT_FALSE(wglDeleteContext(nullptr));
    EXPECT_FALSE(wglMakeCurrent(bound.dc, bound.rc));
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    bound.rc = nullptr;
}

TEST_F(RenderingContexts, RenderOnlyIntoWindowsOfTheirFormat) {
    BoundWindow bound;
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();

    SeamWindow same;
    HDC sameDC = GetDC(same.handle());
    ASSERT_TRUE(SetPixelFormat(sameDC, bound.format, &request));
    EXPECT_TRUE(wglMakeCurrent(sameDC, bound.rc));
    EXPECT_EQ(wglGetCurrentDC(), sameDC);

    SeamWindow other;
    HDC otherDC = GetDC(other.handle());
    ASSERT_TRUE(SetPixelFormat(otherDC, anotherWindowFormat(otherDC, bound.format), &request));
    EXPECT_FALSE(wglMakeCurrent(otherDC, bound.rc));

    wglMakeCurrent(nullptr, nullptr);
    ReleaseDC(same.handle(), sameDC);
    ReleaseDC(other.handle(), otherDC);
}

TEST_F(RenderingContexts, AReleasedDeviceContextCannotBeMadeCurrent) {
    BoundWindow bound;
    wglMakeCurrent(nullptr, nullptr);
    HDC extra = GetDC(bound.window.handle());
    ASSERT_EQ(ReleaseDC(bound.window.handle(), extra), 1);
    EXPECT_FALSE(wglMakeCurrent(extra, bound.rc));
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
}

TEST_F(RenderingContexts, OfADestroyedWindowNoLongerDraw) {
    BoundWindow bound;
    if (!bound.window.destroy())
        GTEST_SKIP() << "this platform has no windows to destroy";
    EXPECT_FALSE(SwapBuffers(bound.dc));
    EXPECT_FALSE(wglMakeCurrent(bound.dc, bound.rc));
    // The context is still the host's to delete.
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_TRUE(wglDeleteContext(bound.rc));
    bound.rc = nullptr;
}

TEST_F(RenderingContexts, AreCurrentPerThread) {
    BoundWindow bound;
    HDC seenThere = bound.dc;
    std::thread([&] { seenThere = wglGetCurrentDC(); }).join();
    EXPECT_EQ(seenThere, nullptr);
    EXPECT_EQ(wglGetCurrentDC(), bound.dc);
}

TEST_F(RenderingContexts, AContextCurrentOnAnotherThreadIsNotTaken) {
    BoundWindow bound;
    BOOL madeThere = TRUE;
    std::thread([&] { madeThere = wglMakeCurrent(bound.dc, bound.rc); }).join();
    EXPECT_FALSE(madeThere);
    EXPECT_EQ(wglGetCurrentDC(), bound.dc);
}

TEST_F(RenderingContexts, AContextCurrentOnAnotherThreadIsNotDeleted) {
    BoundWindow bound;
    BOOL deletedThere = TRUE;
    std::thread([&] { deletedThere = wglDeleteContext(bound.rc); }).join();
    EXPECT_FALSE(deletedThere);
    EXPECT_EQ(wglGetCurrentDC(), bound.dc);
}

// Two threads that ask for one context at the same moment: it goes to one of them, and the
// other is refused while the first has it.
TEST_F(RenderingContexts, GoToOneOfTwoThreadsAskingAtOnce) {
    BoundWindow bound;
    SeamWindow otherWindow;
    HDC other = GetDC(otherWindow.handle());
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    ASSERT_TRUE(SetPixelFormat(other, bound.format, &request));
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> ready{0}, asked{0}, taken{0};
        const auto ask = [&](HDC dc) {
            ++ready;
            while (ready < 2)
                std::this_thread::yield();
            const bool made = wglMakeCurrent(dc, bound.rc);
            taken += made ? 1 : 0;
            ++asked;
            // The winner keeps it until the other thread has asked.
            while (made && asked < 2)
                std::this_thread::yield();
            if (made)
                wglMakeCurrent(nullptr, nullptr);
        };
        std::thread one(ask, bound.dc), two(ask, other);
        one.join();
        two.join();
        EXPECT_EQ(taken, 1) << "round " << round;
    }
    ReleaseDC(otherWindow.handle(), other);
}

TEST_F(RenderingContexts, SwapIntervalsAreNeverNegative) {
    BoundWindow bound;
    using SwapInterval = BOOL(WINAPI*)(int);
    // Through void (*)(), the one function type any other converts from without complaint.
    auto swapInterval = reinterpret_cast<SwapInterval>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (!swapInterval)
        GTEST_SKIP() << "no swap control here";
    // No wait for the retrace is always possible; a negative interval never is.
    EXPECT_TRUE(swapInterval(0));
    EXPECT_FALSE(swapInterval(-1));
}

TEST_F(RenderingContexts, EntryPointsComeOnlyWithACurrentContext) {
    EXPECT_EQ(wglGetProcAddress("glActiveTextureARB"), nullptr);
    BoundWindow bound;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    // Each one the library looks up is there when its extension is.
    for (const zn::GLEntryPoint& entry : zn::kGLEntryPoints) {
        if (hasExtension(extensions, entry.extension)) {
            EXPECT_NE(wglGetProcAddress(entry.name), nullptr) << entry.name;
        }
    }
    EXPECT_EQ(wglGetProcAddress("glNoSuchFunctionZN"), nullptr);
    // OpenGL 1.1 itself is linked, never looked up.
    EXPECT_EQ(wglGetProcAddress("glClear"), nullptr);
    EXPECT_EQ(wglGetProcAddress(nullptr), nullptr);
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_EQ(wglGetProcAddress("glActiveTextureARB"), nullptr);
}

} // namespace
