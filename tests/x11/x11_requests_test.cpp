// What the layer costs in X requests, counted exactly with NextRequest on its connection, and
// what its error traps keep of a failure.
#include <gtest/gtest.h>

#include <vector>

#include <X11/Xutil.h>

#include "X11Layer.h"
#include "platform/rules/rules.h"

using namespace zn::x11;

namespace {

// X requests the layer's connection sent while the operation ran.
template <class Operation> unsigned long requestsOf(Operation operation) {
    Display* connection = display();
    XSync(connection, False);
    const unsigned long before = NextRequest(connection);
    operation();
    return NextRequest(connection) - before;
}

int errorsSeen = 0;
int countError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

const Window kNoSuchWindow = 0x3fffffff;
const int kMapWindowRequest = 8; // X_MapWindow of the core protocol

} // namespace

TEST_F(X11Layer, TrapsTellTheirOwnRequestsFromEarlierOnes) {
    Display* connection = display();
    const auto ask = [connection] {
        XWindowAttributes attributes;
        XGetWindowAttributes(connection, DefaultRootWindow(connection), &attributes);
    };
    EXPECT_EQ(requestsOf([&] { ErrorTrap trap(connection); }), 0u);
    EXPECT_EQ(requestsOf([&] {
                  ErrorTrap trap(connection);
                  ask();
                  EXPECT_FALSE(trap.failed()); // answered already: no wait for the server
              }),
              requestsOf(ask));

    // A host's own failed request, on the connection it handed over, made while a trap is open
    // on the layer's stays the host's, and the layer's connection is not the host's.
    znSetX11Display(host);
    XErrorHandler previous = XSetErrorHandler(countError);
    errorsSeen = 0;
    {
        Display* layer = display();
        EXPECT_NE(layer, host);
        ErrorTrap trap(layer);
        XMapWindow(host, kNoSuchWindow);
        XSync(host, False);
        ask();
        EXPECT_FALSE(trap.failed());
    }
    EXPECT_EQ(errorsSeen, 1);
    XSetErrorHandler(previous);
    znSetX11Display(nullptr);
}

TEST_F(X11Layer, TrapsKeepTheErrorAndSayWhy) {
    Display* connection = display();
    ErrorTrap trap(connection);
    XMapWindow(connection, kNoSuchWindow);
    XUnmapWindow(connection, kNoSuchWindow);
    ASSERT_TRUE(trap.failed());
    const std::string why = trap.why();
    // The first failure is the one kept: the map, with its code, text and resource.
    EXPECT_NE(why.find("X error 3 (BadWindow"), std::string::npos) << why;
    EXPECT_NE(why.find("request " + std::to_string(kMapWindowRequest) + "."), std::string::npos)
        << why;
    EXPECT_NE(why.find("0x3fffffff"), std::string::npos) << why;
}

TEST_F(X11Layer, AFrameCostsNoMoreThanTheSwapAndOneWait) {
    const Bound bound = bind();
    Display* connection = display();
    glXSwapBuffers(connection, bound.window); // the first swap sets up its shared memory
    const unsigned long swap = requestsOf([&] { glXSwapBuffers(connection, bound.window); });
    EXPECT_LE(requestsOf([&] { EXPECT_TRUE(SwapBuffers(bound.dc)); }), swap + 1);
    // A window asked about before is answered from what the layer was told.
    IsIconic(hwnd(bound.window));
    EXPECT_EQ(requestsOf([&] {
                  for (int i = 0; i < 100; ++i)
                      EXPECT_FALSE(IsIconic(hwnd(bound.window)));
              }),
              0u);
    unbind(bound);
}

TEST_F(X11Layer, SwitchingBetweenKnownWindowsCostsWhatGlxCosts) {
    const Bound one = bind(), two = bind();
    GLXContext contexts[2];
    for (const Bound* bound : {&one, &two}) {
        ASSERT_TRUE(wglMakeCurrent(bound->dc, bound->rc));
        contexts[bound == &one ? 0 : 1] = glXGetCurrentContext();
    }
    Display* connection = display();
    const unsigned long glx = requestsOf([&] {
        glXMakeContextCurrent(connection, one.window, one.window, contexts[0]);
        glXMakeContextCurrent(connection, two.window, two.window, contexts[1]);
    });
    EXPECT_EQ(requestsOf([&] {
                  EXPECT_TRUE(wglMakeCurrent(one.dc, one.rc));
                  EXPECT_TRUE(wglMakeCurrent(two.dc, two.rc));
              }),
              glx);
    unbind(one);
    unbind(two);
}

TEST_F(X11Layer, ThePixelFormatIsTheBestOfAllConfigurations) {
    // Reading the window's own visual first must choose what reading every configuration
    // chooses, for the default visual and for a deeper one where the screen has it.
    std::vector<Window> windows = {newWindow()};
    XVisualInfo deep;
    if (XMatchVisualInfo(host, DefaultScreen(host), 32, TrueColor, &deep)) {
        XSetWindowAttributes attributes = {};
        attributes.colormap =
            XCreateColormap(host, DefaultRootWindow(host), deep.visual, AllocNone);
        windows.push_back(XCreateWindow(host, DefaultRootWindow(host), 0, 0, 16, 16, 0, 32,
                                        InputOutput, deep.visual, CWColormap | CWBorderPixel,
                                        &attributes));
        XSync(host, False);
    }
    const PIXELFORMATDESCRIPTOR request = zn::requestedPixelFormat();
    for (Window window : windows) {
        HDC dc = GetDC(hwnd(window));
        const X11Window& held = static_cast<X11Window&>(*zn::rules::windowOf(dc));
        FBConfigList configs(held.display, held.screen);
        std::vector<FormatTraits> all;
        for (int format = 1; format <= configs.size(); ++format)
            all.push_back(readTraits(held.display, configs.at(format), held));
        const int chosen = ChoosePixelFormat(dc, &request);
        EXPECT_GT(chosen, 0);
        EXPECT_EQ(chosen, chooseFormat(all, request)) << "window visual " << held.visual;
        ReleaseDC(hwnd(window), dc);
    }
}
