// The layer's calls against a real X server and GLX, as only the layer can show them: the
// visuals, configurations and fonts it picks, GLX's and the window manager's view, and where it
// is stricter than Windows. What Windows promises of the same calls, the seam suite checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <iterator>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "X11Layer.h"
#include "platform/rules/rules.h"

using namespace zn::x11;

namespace {

HFONT createFont(const char* face, int height = 15, DWORD charSet = ANSI_CHARSET) {
    return CreateFontA(height, 0, 0, 0, 700, 1, 0, 0, charSet, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

std::string xlfdOf(HFONT font) {
    std::string name = static_cast<X11Font&>(*zn::rules::fontOf(font)).xlfd;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

// Pixels of the back buffer lit by glyph "W" drawn from the lists at listBase - 32.
int glyphPixels(GLuint listBase) {
    glViewport(0, 0, 64, 32);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glRasterPos2f(-0.9f, -0.5f);
    glListBase(listBase - 32);
    glCallLists(1, GL_UNSIGNED_BYTE, "W");
    std::vector<unsigned char> red(64 * 32);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 64, 32, GL_RED, GL_UNSIGNED_BYTE, red.data());
    return static_cast<int>(std::count_if(red.begin(), red.end(), [](int v) { return v > 128; }));
}

} // namespace

// Stricter than Wine, which gives a common device context back whichever window is named: a
// host that names another window has mixed up its handles, and the call fails.
TEST_F(X11Layer, ADeviceContextIsGivenBackOnlyByItsWindow) {
    const Window window = newWindow(), other = newWindow();
    HDC dc = GetDC(hwnd(window));
    EXPECT_EQ(ReleaseDC(hwnd(other), dc), 0);
    EXPECT_EQ(ReleaseDC(hwnd(window), dc), 1);
}

// Wine frees a window's device contexts with it and then refuses them; the layer keeps a held
// one until the host gives it back, so that the host's release still succeeds.
TEST_F(X11Layer, ADestroyedWindowsDeviceContextIsStillGivenBack) {
    const Bound bound = bind();
    XDestroyWindow(host, bound.window);
    XSync(host, False);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(bound.rc);
    EXPECT_EQ(ReleaseDC(hwnd(bound.window), bound.dc), 1);
}

// The formats are the screen's framebuffer configurations, and the one chosen renders in the
// window's own visual; the layer chooses one for a window only.
TEST_F(X11Layer, PixelFormatsAreTheScreensConfigurations) {
    HDC dc = GetDC(hwnd(newWindow()));
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    const int format = ChoosePixelFormat(dc, &request);
    ASSERT_GT(format, 0);
    FBConfigList configs(host, DefaultScreen(host));
    XVisualInfo* visual = glXGetVisualFromFBConfig(host, configs.at(format));
    ASSERT_NE(visual, nullptr);
    EXPECT_EQ(visual->visualid, XVisualIDFromVisual(DefaultVisual(host, DefaultScreen(host))));
    XFree(visual);

    HDC screen = GetDC(nullptr);
    PIXELFORMATDESCRIPTOR pfd;
    for (HDC asked : {dc, screen}) {
        EXPECT_EQ(DescribePixelFormat(asked, format, sizeof pfd, &pfd), configs.size());
        EXPECT_EQ(DescribePixelFormat(asked, 0, 0, nullptr), configs.size());
    }
    EXPECT_EQ(ChoosePixelFormat(screen, &request), 0);
}

TEST_F(X11Layer, OnlySlowOrIndirectFormatsAreGeneric) {
    HDC screen = GetDC(nullptr);
    FBConfigList configs(host, DefaultScreen(host));
    GLXContext probe = glXCreateNewContext(host, configs.at(1), GLX_RGBA_TYPE, nullptr, True);
    const bool direct = glXIsDirect(host, probe);
    glXDestroyContext(host, probe);
    for (int format = 1; format <= configs.size(); ++format) {
        int caveat = GLX_NONE;
        glXGetFBConfigAttrib(host, configs.at(format), GLX_CONFIG_CAVEAT, &caveat);
        PIXELFORMATDESCRIPTOR pfd;
        ASSERT_GT(DescribePixelFormat(screen, format, sizeof pfd, &pfd), 0);
        const bool generic = (pfd.dwFlags & PFD_GENERIC_FORMAT) != 0;
        EXPECT_EQ(generic, caveat == GLX_SLOW_CONFIG || !direct) << "format " << format;
    }
}

TEST_F(X11Layer, DeletingTheCurrentContextReleasesItInGlx) {
    const Bound bound = bind();
    EXPECT_NE(glXGetCurrentContext(), nullptr);
    EXPECT_TRUE(wglDeleteContext(bound.rc));
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
    unbind(bound);
}

// An X11 host needs neither libEGL nor libwayland nor FreeType: the layer opens them only for a
// host that chooses Wayland.
TEST_F(X11Layer, BindingAContextLoadsNoWaylandLibraries) {
    const Bound bound = bind();
    glXWaitGL();
    std::ifstream maps("/proc/self/maps");
    const std::string loaded((std::istreambuf_iterator<char>(maps)),
                             std::istreambuf_iterator<char>());
    for (const char* library : {"libEGL", "libwayland", "libfreetype", "libfontconfig"})
        EXPECT_EQ(loaded.find(library), std::string::npos) << library;
    unbind(bound);
}

// Handles deleted or released on one thread while another thread's calls use them: each call
// succeeds or fails, and the object it uses lives until it returns (AddressSanitizer sees any
// that does not).
TEST_F(X11Layer, HandlesReleasedOnAnotherThreadLiveUntilCallsInFlightReturn) {
    for (int round = 0; round < 20; ++round) {
        const Window window = newWindow();
        HDC dc = GetDC(hwnd(window));
        const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
        ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
        HGLRC rc = wglCreateContext(dc);
        HFONT font = CreateFontA(12, 0, 0, 0, 400, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        std::thread user([&] {
            for (int i = 0; i < 20; ++i) {
                if (wglMakeCurrent(dc, rc)) {
                    wglUseFontBitmapsA(dc, 32, 4, 1000);
                    wglMakeCurrent(nullptr, nullptr);
                }
                SelectObject(dc, font);
                SelectObject(dc, zn::rules::stockFont());
            }
        });
        // Refused while the other thread has it current, as in WGL; it gets its turn.
        while (!wglDeleteContext(rc))
            std::this_thread::yield();
        while (!DeleteObject(font))
            std::this_thread::yield();
        EXPECT_EQ(ReleaseDC(hwnd(window), dc), 1);
        user.join();
        EXPECT_FALSE(wglDeleteContext(rc));
        XDestroyWindow(host, window);
    }
}

// The layer brings swap control itself, over GLX's; a pointer kept past its context fails
// rather than reaching GLX without one.
TEST_F(X11Layer, SwapControlIsAlwaysThereAndNeedsItsContext) {
    const Bound bound = bind();
    using SwapInterval = BOOL (*)(int);
    auto swapInterval = reinterpret_cast<SwapInterval>(wglGetProcAddress("wglSwapIntervalEXT"));
    ASSERT_NE(swapInterval, nullptr);
    unbind(bound);
    EXPECT_FALSE(swapInterval(0));
}

TEST_F(X11Layer, IsIconicFollowsTheWindowManagersState) {
    const Window window = newWindow();
    const Atom wmState = XInternAtom(host, "WM_STATE", False);
    for (long state : {long(IconicState), long(NormalState), long(IconicState)}) {
        const long value[2] = {state, None};
        XChangeProperty(host, window, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
        XSync(host, False);
        // The change reaches the layer as an event, a moment after the server made it.
        EXPECT_TRUE(eventually([&] { return IsIconic(hwnd(window)) == (state == IconicState); }));
    }
    XDestroyWindow(host, window);
    XSync(host, False);
    EXPECT_TRUE(eventually([&] { return !IsIconic(hwnd(window)); }));
}

TEST_F(X11Layer, FontsFallBackToWhatTheServerHas) {
    // Debian's xfonts-base and xfonts-75dpi: helvetica, times, courier, symbol and fixed.
    const struct {
        const char* face;
        int height;
        DWORD charSet;
        const char* found;
    } cases[] = {
        {"Arial", 15, ANSI_CHARSET, "-helvetica-bold-o-"},
        {"Times New Roman", -14, ANSI_CHARSET, "-times-bold-i-normal--14-"},
        {"No Such Face", 15, ANSI_CHARSET, "-helvetica-bold-o-"},
        {"Symbol", 15, SYMBOL_CHARSET, "-symbol-"},
        {"Arial", INT_MIN, ANSI_CHARSET, "-helvetica-bold-o-"},
    };
    for (const auto& c : cases) {
        HFONT font = createFont(c.face, c.height, c.charSet);
        ASSERT_NE(font, nullptr) << c.face;
        EXPECT_NE(xlfdOf(font).find(c.found), std::string::npos) << c.face << ": " << xlfdOf(font);
        DeleteObject(font);
    }
}

TEST_F(X11Layer, DeviceContextsStartWithTheSystemFont) {
    HDC screen = GetDC(nullptr), dc = GetDC(hwnd(newWindow()));
    HFONT font = createFont("Arial");
    for (HDC fresh : {screen, dc}) {
        EXPECT_EQ(SelectObject(fresh, font), zn::rules::stockFont());
        SelectObject(fresh, zn::rules::stockFont());
    }
    DeleteObject(font);
}

// Glyphs drawn from the server's fonts light pixels; lists that cannot be named are refused.
TEST_F(X11Layer, FontBitmapsDrawGlyphsIntoValidLists) {
    const Bound bound = bind();
    HFONT font = createFont("Arial");
    for (HGDIOBJ selected : {static_cast<HGDIOBJ>(font), zn::rules::stockFont()}) {
        SelectObject(bound.dc, selected);
        const GLuint listBase = glGenLists(96);
        ASSERT_TRUE(wglUseFontBitmapsA(bound.dc, 32, 96, listBase));
        EXPECT_GT(glyphPixels(listBase), 5);
        glDeleteLists(listBase, 96);
    }
    EXPECT_FALSE(wglUseFontBitmapsA(bound.dc, 32, 96, 0));
    EXPECT_FALSE(wglUseFontBitmapsA(bound.dc, 32, 0x80000000u, 1));
    EXPECT_TRUE(DeleteObject(font));
    unbind(bound);
}
