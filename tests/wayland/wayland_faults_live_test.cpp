// What a Wayland host may do around the library without being ended: its surface destroyed while
// a manager renders into it, and its compositor gone. Either fails the host's connection for
// good; the library's calls then fail with their reports, nothing hangs or crashes, the manager
// tears down, and a new connection draws again.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <signal.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "LiveTest.h"
#include "TestEnvironment.h"
#include "WaylandWindow.h"
#include "znRenderContext.h"
#include "znVelmora.h"

namespace {

// A host: its own connection and toplevel, a manager drawing red into it.
struct Host {
    explicit Host(const char* title) : window(title) {
        env.drawing = [this] {
            glClearColor(1, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            ++frames;
        };
        znSetWaylandDisplay(window.display());
        manager = std::make_unique<znVelmora>(reinterpret_cast<HWND>(window.surface()), &env);
        manager->setWindowSize(0, 0, window.width(), window.height());
        manager->setDestinatedFPS(0);
    }
    // Frames as the host's loop runs them: none may throw, hang or crash.
    void run(int count) {
        for (int i = 0; i < count; ++i) {
            manager->enterRenderLoop();
            manager->renderFunc();
            wl_display_dispatch_pending(window.display());
        }
    }
    bool connectionFailed() const { return wl_display_get_error(window.display()) != 0; }

    WaylandWindow window;
    TestEnvironment env;
    int frames = 0;
    std::unique_ptr<znVelmora> manager;
};

// After a fault, a host on a new connection starts up and draws its frames.
void aNewConnectionDrawsAgain() {
    Host next("after the fault");
    ASSERT_TRUE(next.manager->initializeOpenGL());
    next.run(5);
    EXPECT_EQ(next.frames, 5);
    EXPECT_FALSE(next.connectionFailed());
    next.manager->destroyOpenGL();
}

TEST(WaylandHost, DestroysItsSurfaceMidLoop) {
    Host host("destroyed mid-loop");
    ASSERT_TRUE(host.manager->initializeOpenGL());
    host.run(5);
    host.window.destroySurface();
    // The next swap names the destroyed surface, and the compositor ends the connection.
    host.run(10);
    EXPECT_TRUE(host.connectionFailed());
    EXPECT_NO_THROW(host.manager->destroyOpenGL());
    aNewConnectionDrawsAgain();
}

// A host that hands over another object of its connection than its surface gets the missing
// window's failure, not a crash inside EGL.
TEST(WaylandHost, HandsOverWhatIsNoSurface) {
    WaylandWindow window("no surface");
    znSetWaylandDisplay(window.display());
    znRenderContext display(reinterpret_cast<HWND>(window.display()));
    EXPECT_EQ(contextFailureOf([&] { display.initRenderContext(); }), 1);
    wl_egl_window* native = wl_egl_window_create(window.surface(), 64, 64);
    znRenderContext eglWindow(reinterpret_cast<HWND>(native));
    EXPECT_EQ(contextFailureOf([&] { eglWindow.initRenderContext(); }), 1);
    wl_egl_window_destroy(native);
    EXPECT_FALSE(wl_display_get_error(window.display()));
}

// Run on a compositor of its own (ctest starts one for it alone): the test stops it.
TEST(WaylandHost, LosesItsCompositorMidLoop) {
    const char* socket = std::getenv("WAYLAND_DISPLAY");
    ASSERT_NE(socket, nullptr);
    Host host("compositor killed");
    ASSERT_TRUE(host.manager->initializeOpenGL());
    host.run(5);
    // "[-]" keeps the pattern from matching the shell that runs pkill.
    const std::string kill = "pkill -KILL -f -- '[-]-socket=" + std::string(socket) + "( |$)'";
    ASSERT_EQ(std::system(kill.c_str()), 0);
    host.run(10);
    EXPECT_TRUE(host.connectionFailed());
    EXPECT_NO_THROW(host.manager->destroyOpenGL());
    EXPECT_FALSE(host.manager->initializeOpenGL()); // reported, and nothing ends
}

} // namespace
