// The pixel-format probe when its error trap reports a failure: the throw-away context is
// destroyed all the same and the answer kept, so describing again probes no more. GLX's context
// calls are interposed in this program to count them and to fail a request inside the probe.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "platform/x11/x11_platform.h"

namespace {

int created = 0;
int destroyed = 0;
bool failInsideNextCreate = false;

template <class F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" GLXContext glXCreateNewContext(Display* display, GLXFBConfig config, int type,
                                          GLXContext share, Bool direct) {
    using Create = GLXContext (*)(Display*, GLXFBConfig, int, GLXContext, Bool);
    static const Create create = real<Create>("glXCreateNewContext");
    GLXContext context = create(display, config, type, share, direct);
    if (context)
        ++created;
    if (failInsideNextCreate) {
        failInsideNextCreate = false;
        XMapWindow(display, 0x3fffffff); // no such window: BadWindow
    }
    return context;
}

extern "C" void glXDestroyContext(Display* display, GLXContext context) {
    using Destroy = void (*)(Display*, GLXContext);
    static const Destroy destroy = real<Destroy>("glXDestroyContext");
    ++destroyed;
    destroy(display, context);
}

TEST(PixelFormatProbe, AFailedProbeLeavesNoContextAndIsNotRepeated) {
    HDC screen = GetDC(nullptr);
    if (!screen)
        GTEST_SKIP() << "no X display";
    failInsideNextCreate = true;
    PIXELFORMATDESCRIPTOR pfd;
    ASSERT_GT(DescribePixelFormat(screen, 1, sizeof pfd, &pfd), 0);
    ASSERT_GT(DescribePixelFormat(screen, 1, sizeof pfd, &pfd), 0);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(destroyed, 1);
    ReleaseDC(nullptr, screen);
}
