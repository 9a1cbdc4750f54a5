// What a Linux host may do around the library without being ended, hung or corrupted: destroy
// its window mid-loop, make failing requests of its own on another thread, let a thread end with
// a context current, or lose a connection the library opened. Each scenario runs through the
// public interface with real windows and threads; a fault that ends the process fails the test.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <dlfcn.h>
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

// A host thread meets X on the connection the host handed over, with the host's own error
// handler, while the main thread starts managers up and tears them down: every start-up
// succeeds, every one of the host's errors reaches the host's handler, and nothing hangs. The
// thread either makes failing requests that get a reply, or failing requests that get none and
// then waits in XSync, or only runs an event loop that reads the errors of the main thread's own
// failing requests. Each scenario runs in a child process, so that a hang fails by its bound.
enum class HostThread { failsWithReply, failsWithoutReply, readsEvents };

std::atomic<long> hostErrors{0};
const Window kNoSuchWindow = 0x1fffffff;

int countHostError(Display*, XErrorEvent* event) {
    if (event->resourceid == kNoSuchWindow)
        ++hostErrors;
    return 0;
}

// Mesa's software rasteriser puts a handler of its own in for a moment while it attaches a
// shared-memory image (each context's first frame), and that handler drops whatever arrives
// meanwhile, a host thread's errors too. The library cannot stop that without holding the host's
// connection, so the errors the driver's handler takes are counted apart: XSetErrorHandler is
// wrapped for this process, and a handler of the driver is called through a counting one.
std::atomic<long> takenByDriver{0};
std::atomic<XErrorHandler> driverHandler{nullptr};

int countDriverError(Display* display, XErrorEvent* event) {
    if (event->resourceid == kNoSuchWindow)
        ++takenByDriver;
    return driverHandler.load()(display, event);
}

bool inGLDriver(void* function) {
    Dl_info info;
    return dladdr(function, &info) && info.dli_fname &&
           (std::strstr(info.dli_fname, "/libGL") || std::strstr(info.dli_fname, "_dri."));
}

} // namespace

extern "C" XErrorHandler XSetErrorHandler(XErrorHandler handler) {
    using Set = XErrorHandler (*)(XErrorHandler);
    static const Set set = reinterpret_cast<Set>(dlsym(RTLD_NEXT, "XSetErrorHandler"));
    if (handler && inGLDriver(reinterpret_cast<void*>(handler))) {
        driverHandler = handler;
        handler = countDriverError;
    }
    const XErrorHandler before = set(handler);
    return before == countDriverError ? driverHandler.load() : before;
}

namespace {

void failingRequest(Display* display, HostThread kind) {
    if (kind == HostThread::failsWithReply) {
        Window root;
        int x, y;
        unsigned int width, height, border, depth;
        XGetGeometry(display, kNoSuchWindow, &root, &x, &y, &width, &height, &border, &depth);
    } else {
        XMapWindow(display, kNoSuchWindow);
        if (kind == HostThread::failsWithoutReply)
            XSync(display, False);
        else
            XFlush(display);
    }
}

// The scenario on a connection of the child's own; its exit status says what went wrong.
int shareTheHandedOverConnection(HostThread kind) {
    XInitThreads();
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    XSetErrorHandler(countHostError);
    znSetX11Display(display);
    HostWindow window(display);
    std::atomic<bool> starting{true};
    std::atomic<long> requests{0};
    std::thread hostThread([&] {
        while (starting) {
            if (kind == HostThread::readsEvents) {
                while (XPending(display) > 0) {
                    XEvent event;
                    XNextEvent(display, &event);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            } else {
                failingRequest(display, kind);
                ++requests;
            }
        }
    });
    BoxWatcher boxes;
    int started = 0;
    for (int startUp = 0; startUp < 20; ++startUp) {
        Started manager(window.handle());
        started += manager.env.count("initEnvironment");
        manager.manager.renderFunc();
        manager.manager.destroyOpenGL();
        if (kind == HostThread::readsEvents) {
            failingRequest(display, kind);
            ++requests;
        }
    }
    starting = false;
    hostThread.join();
    XSync(display, False);
    const bool quiet = boxes.stop().empty();
    std::fprintf(
        stderr, "started %d of 20, host errors %ld (and %ld to the driver) of %ld, boxes: %s\n",
        started, hostErrors.load(), takenByDriver.load(), requests.load(), quiet ? "none" : "some");
    return started == 20 && requests > 0 && hostErrors + takenByDriver == requests && quiet ? 0 : 1;
}

// A child started by inChildWithin runs its scenario as a program of its own, from a fresh
// start (ThreadSanitizer cannot follow threads made in a forked child), before GoogleTest runs.
const char* const kScenario = "ZN_SHARED_CONNECTION_SCENARIO";
const bool scenarioChild = [] {
    if (const char* kind = std::getenv(kScenario))
        _exit(shareTheHandedOverConnection(static_cast<HostThread>(std::atoi(kind))));
    return false;
}();

// Runs the scenario in a child and answers its exit status, or -1 when it outlived the bound.
int inChildWithin(std::chrono::seconds bound, HostThread kind) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        setenv(kScenario, std::to_string(static_cast<int>(kind)).c_str(), 1);
        execl("/proc/self/exe", "x11_faults_live_test", static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + bound;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct SharedConnection : testing::TestWithParam<HostThread> {};

TEST_P(SharedConnection, HostErrorsStayTheHostsAndNothingHangs) {
    EXPECT_EQ(inChildWithin(std::chrono::seconds(60), GetParam()), 0)
        << "-1: hung; 1: a start-up failed, an error went astray or a box was shown";
}

INSTANTIATE_TEST_SUITE_P(HostThreads, SharedConnection,
                         testing::Values(HostThread::failsWithReply, HostThread::failsWithoutReply,
                                         HostThread::readsEvents));

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
