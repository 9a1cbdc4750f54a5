// What a Linux host may do around the library without being ended, hung or corrupted: destroy
// its window mid-loop, make failing requests of its own on another thread, let a thread end with
// a context current, or lose a connection the library opened. Each scenario runs through the
// public interface with real windows and threads; a fault that ends the process fails the test.
#include <atomic>
#include <chrono>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

#include "LiveTest.h"
#include "TestEnvironment.h"
#include "znVelmora.h"

// After GoogleTest, whose names Xlib's macros (None, Bool) would otherwise replace.
#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

namespace {

// A host's window on a connection of the host's own.
struct HostWindow {
    Display* display;
    Window window;

    explicit HostWindow(Display* connection) : display(connection) {
        XSetWindowAttributes attributes = {};
        window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 96, 64, 0, CopyFromParent,
                               InputOutput, CopyFromParent, 0, &attributes);
        XMapWindow(display, window);
        XSync(display, False);
    }
    HWND handle() const { return reinterpret_cast<HWND>(static_cast<uintptr_t>(window)); }
    void destroy() {
        XDestroyWindow(display, window);
        XSync(display, False);
    }
};

struct Host : testing::Test {
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
    }
    void TearDown() override {
        znSetX11Display(nullptr);
        if (display)
            XCloseDisplay(display);
    }
    Display* display = nullptr;
};

struct Started {
    TestEnvironment env;
    znVelmora manager;
    explicit Started(HWND window) : manager(window, &env) {
        manager.setWindowSize(0, 0, 96, 64);
        manager.setDestinatedFPS(0);
        manager.initializeOpenGL();
    }
};

// Three frames, the window destroyed by the host, then frames again: each is dropped as a
// failed swap is (a fresh swap failure shows no box), and tear-down still works.
void destroyWindowMidLoop(Display* display) {
    HostWindow window(display);
    BoxWatcher boxes;
    Started started(window.handle());
    for (int frame = 0; frame < 3; ++frame)
        started.manager.renderFunc();
    window.destroy();
    started.manager.renderFunc();
    started.manager.renderFunc();
    started.manager.destroyOpenGL();
    EXPECT_FALSE(anyContextCurrent());
    EXPECT_EQ(boxes.stop(), Texts{});
}

TEST_F(Host, DestroysItsWindowMidLoopOnTheLibrarysConnection) {
    destroyWindowMidLoop(display);
}

TEST_F(Host, DestroysItsWindowMidLoopOnTheConnectionItHandedOver) {
    znSetX11Display(display);
    destroyWindowMidLoop(display);
}

// A host thread makes failing requests on the connection it handed over, with its own error
// handler, while the main thread starts managers up and tears them down: every start-up
// succeeds, and every one of the host's errors reaches the host's handler.
std::atomic<long> hostErrors{0};
const Window kNoSuchWindow = 0x1fffffff;

int countHostError(Display*, XErrorEvent* event) {
    if (event->resourceid == kNoSuchWindow)
        ++hostErrors;
    return 0;
}

TEST_F(Host, ErrorsOfItsOwnRequestsOnAnotherThreadStayItsOwn) {
    XSetErrorHandler(countHostError);
    znSetX11Display(display);
    HostWindow window(display);
    std::atomic<bool> starting{true};
    long requests = 0;
    std::thread failing([&] {
        while (starting) {
            Window root;
            int x, y;
            unsigned int width, height, border, depth;
            XGetGeometry(display, kNoSuchWindow, &root, &x, &y, &width, &height, &border, &depth);
            ++requests;
        }
    });
    BoxWatcher boxes;
    for (int startUp = 0; startUp < 20; ++startUp) {
        Started started(window.handle());
        started.manager.renderFunc();
        started.manager.destroyOpenGL();
    }
    starting = false;
    failing.join();
    XSync(display, False);
    EXPECT_EQ(boxes.stop(), Texts{});
    EXPECT_GT(requests, 0);
    EXPECT_EQ(hostErrors.load(), requests);
    XSetErrorHandler(nullptr);
}

// A thread starts a manager up and ends without tearing it down: its context is released with
// the thread, so another thread can still tear the manager down.
TEST_F(Host, ContextLeftCurrentByAnEndedThreadCanBeTornDown) {
    HostWindow window(display);
    BoxWatcher boxes;
    TestEnvironment env;
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, 96, 64);
    std::thread([&] { manager.initializeOpenGL(); }).join();
    manager.getRenderContext().makeCurrent();
    manager.renderFunc();
    manager.destroyOpenGL();
    EXPECT_EQ(boxes.stop(), Texts{});
    EXPECT_FALSE(anyContextCurrent());
}

// The process that owns a client of the server, 0 when the server cannot tell.
pid_t ownerOf(Display* display, XID client) {
    XResClientIdSpec asked = {client, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* ids = nullptr;
    if (XResQueryClientIds(display, 1, &asked, &count, &ids) != Success)
        return 0;
    pid_t owner = 0;
    for (long i = 0; i < count; ++i)
        if (XResGetClientPid(&ids[i]) > 0)
            owner = XResGetClientPid(&ids[i]);
    XResClientIdsDestroy(count, ids);
    return owner;
}

// Kills every client of this process except the given one, as xkill or a server-side cut does;
// other programs on the display (tests running beside this one) are left alone.
void killOtherClients(Display* keep) {
    int count = 0;
    XResClient* clients = nullptr;
    if (!XResQueryClients(keep, &count, &clients))
        return;
    Window probe = XCreateSimpleWindow(keep, DefaultRootWindow(keep), 0, 0, 1, 1, 0, 0, 0);
    for (int i = 0; i < count; ++i)
        if ((probe & ~clients[i].resource_mask) != clients[i].resource_base &&
            ownerOf(keep, clients[i].resource_base) == getpid())
            XKillClient(keep, clients[i].resource_base);
    XDestroyWindow(keep, probe);
    XFree(clients);
    XSync(keep, False);
}

// The library's own connections are cut while a manager runs: the process lives, frames and
// tear-down fail with their reports, and a new manager on a new window starts up again.
TEST_F(Host, LibraryConnectionsCutEndNothing) {
    HostWindow window(display);
    BoxWatcher boxes;
    {
        Started started(window.handle());
        started.manager.renderFunc();
        killOtherClients(display);
        started.manager.renderFunc();
        started.manager.destroyOpenGL();
    }
    // The cut reached the library: its tear-down failed and said so.
    EXPECT_FALSE(boxes.stop().empty());
    HostWindow again(display);
    BoxWatcher later;
    Started restarted(again.handle());
    restarted.manager.renderFunc();
    restarted.manager.destroyOpenGL();
    EXPECT_EQ(later.stop(), Texts{});
}

// A child forked while a manager runs uses the library: it works on connections of its own, so
// the parent's replies stay the parent's and both go on.
TEST_F(Host, AForkedChildUsesConnectionsOfItsOwn) {
    HostWindow window(display);
    BoxWatcher boxes;
    Started started(window.handle());
    started.manager.renderFunc();
    const pid_t child = fork();
    if (child == 0) {
        bool worked = true;
        for (int round = 0; round < 20 && worked; ++round) {
            HostWindow own(XOpenDisplay(nullptr));
            Started inChild(own.handle());
            inChild.manager.renderFunc();
            inChild.manager.destroyOpenGL();
            worked = inChild.env.count("initEnvironment") == 1;
        }
        _exit(worked ? 0 : 1);
    }
    for (int frame = 0; frame < 50; ++frame)
        started.manager.renderFunc();
    int status = -1;
    waitpid(child, &status, 0);
    started.manager.renderFunc();
    started.manager.destroyOpenGL();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(boxes.stop(), Texts{});
}

} // namespace
