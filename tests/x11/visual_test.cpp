// znChooseX11Visual against a real X server: a window made on the visual it answers takes the
// library's format with no more than the default visual's window gets.
#include "X11Layer.h"

#include <X11/Xutil.h>

namespace {

using ChooseVisual = X11Layer;

// The format the library's request gets on a window of this visual (null: the default one).
PIXELFORMATDESCRIPTOR formatOn(Display* host, const znX11Visual* chosen) {
    XSetWindowAttributes attributes = {};
    Visual* visual = CopyFromParent;
    int depth = CopyFromParent;
    unsigned long mask = 0;
    if (chosen) {
        XVisualInfo wanted = {};
        wanted.visualid = chosen->visualid;
        int count = 0;
        XVisualInfo* info = XGetVisualInfo(host, VisualIDMask, &wanted, &count);
        EXPECT_NE(info, nullptr);
        visual = info->visual;
        depth = info->depth;
        XFree(info);
        attributes.colormap = XCreateColormap(host, DefaultRootWindow(host), visual, AllocNone);
        mask = CWColormap | CWBorderPixel;
    }
    const Window window = XCreateWindow(host, DefaultRootWindow(host), 0, 0, 64, 32, 0, depth,
                                        InputOutput, visual, mask, &attributes);
    XSync(host, False);
    HDC dc = GetDC(hwnd(window));
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    PIXELFORMATDESCRIPTOR pfd = {};
    DescribePixelFormat(dc, ChoosePixelFormat(dc, &request), sizeof pfd, &pfd);
    ReleaseDC(hwnd(window), dc);
    XDestroyWindow(host, window);
    if (mask)
        XFreeColormap(host, attributes.colormap);
    return pfd;
}

TEST_F(ChooseVisual, AnswersAVisualOfTheDefaultDepthThatTakesTheFormatWithoutExtras) {
    const int screen = DefaultScreen(host);
    znX11Visual chosen = {};
    ASSERT_TRUE(znChooseX11Visual(host, screen, &chosen));
    // The library's own connection to the same server answers the same.
    znX11Visual onOwnConnection = {};
    ASSERT_TRUE(znChooseX11Visual(nullptr, screen, &onOwnConnection));
    EXPECT_EQ(onOwnConnection.visualid, chosen.visualid);
    EXPECT_EQ(chosen.depth, DefaultDepth(host, screen));
    EXPECT_EQ(chosen.needsColormap != 0,
              chosen.visualid != XVisualIDFromVisual(DefaultVisual(host, screen)));

    const PIXELFORMATDESCRIPTOR fitting = formatOn(host, &chosen);
    const PIXELFORMATDESCRIPTOR usual = formatOn(host, nullptr);
    EXPECT_TRUE(fitting.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_GE(fitting.cDepthBits, 24);
    EXPECT_LE(fitting.cStencilBits, usual.cStencilBits);
    // Mesa gives the default visual a stencil buffer that the library does not ask for, and
    // offers visuals without one.
    EXPECT_EQ(fitting.cStencilBits, 0);
}

TEST_F(ChooseVisual, RefusesWhatIsNotThere) {
    znX11Visual chosen = {7, 7, 7};
    EXPECT_FALSE(znChooseX11Visual(host, ScreenCount(host), &chosen));
    EXPECT_FALSE(znChooseX11Visual(host, -1, &chosen));
    EXPECT_FALSE(znChooseX11Visual(host, 0, nullptr));
    EXPECT_EQ(chosen.visualid, 7u);
}

} // namespace
