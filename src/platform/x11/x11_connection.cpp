// The platform object's start and shut-down, and the connections the layer works on: the
// host's when handed over, else its own, opened on first need and replaced once lost.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include "platform/x11/x11_platform.h"
#include "platform/x11/x11_watch.h"

namespace zn::x11 {

namespace {

Platform* started = nullptr;
std::once_flag startOnce;

// Mesa sets GLX up on a connection at its first GLX call; done before the connection is handed
// out, so that no two threads do it at once.
void initializeGLX(Display* connection) {
    int major = 0, minor = 0;
    glXQueryVersion(connection, &major, &minor);
}

// Called by Xlib once the layer's own handler returned from an IO error on the connection:
// returning leaves the display marked broken, so its later calls fail instead of exiting.
void keepRunning(Display* display, void*) {
    if (std::shared_ptr<Connection> lost = connectionOf(display))
        lost->lost = true;
}

// The child of a fork shares its parent's sockets: reading or writing them would take the
// parent's replies. Each inherited connection's socket is pointed at /dev/null, so that any
// call on it fails as on a lost connection, and the layer opens new ones on need.
void dropInheritedConnections() {
    Platform& state = *started;
    const int nowhere = open("/dev/null", O_RDWR | O_CLOEXEC);
    for (const std::shared_ptr<Connection>& inherited : state.opened) {
        inherited->lost = true;
        if (nowhere >= 0)
            dup2(nowhere, ConnectionNumber(inherited->display));
    }
    if (nowhere >= 0)
        close(nowhere);
    if (state.own)
        state.own->lost = true;
    state.own = nullptr;
    state.openFailed = false;
    forgetWatchedWindows(state);
}

// No other thread may hold the platform's locks across the fork, or the child would wait on
// them for good.
// In the order the layer takes them: the watcher opens its connection through connection().
void lockBeforeFork() {
    lockWatcher(*started);
    started->openMutex.lock();
    started->connectionMutex.lock();
}

void unlockAfterFork() {
    started->connectionMutex.unlock();
    started->openMutex.unlock();
    unlockWatcher(*started);
}

// At exit the watch connection goes. NOTE: the layer's own connection stays open, as before
// the platform object had a shut-down: closing it frees Mesa's GLX state of the display, which
// leaves memory of llvmpipe's compiler unreachable (LeakSanitizer reports it), and contexts or
// fonts the host never released may still be made on it.
void shutDown() {
    stopWatching(*started);
}

} // namespace

Connection::Connection(Display* display, bool owned) : display(display), owned(owned) {
    int firstEvent = 0, firstError = 0;
    if (!XQueryExtension(display, "GLX", &glxOpcode, &firstEvent, &firstError))
        glxOpcode = 0;
}

Platform& platform() {
    // Never destroyed: other threads may still be inside the layer while the process exits.
    std::call_once(startOnce, [] {
        started = new Platform();
        startWatcher(*started);
        pthread_atfork(lockBeforeFork, unlockAfterFork, [] {
            unlockAfterFork();
            dropInheritedConnections();
        });
        std::atexit(shutDown);
    });
    return *started;
}

std::shared_ptr<Connection> openOwnConnection(Display* like) {
    Display* opened = XOpenDisplay(like ? DisplayString(like) : nullptr);
    if (!opened)
        return nullptr;
    Platform& state = platform();
    installErrorHandlers(state);
    XSetIOErrorExitHandler(opened, keepRunning, nullptr);
    auto made = std::make_shared<Connection>(opened, true);
    std::lock_guard<std::mutex> lock(state.connectionMutex);
    state.opened.push_back(made);
    return made;
}

void closeOwnConnection(const std::shared_ptr<Connection>& closing) {
    // A lost connection is closed too: Xlib then only frees what it kept of it.
    XCloseDisplay(closing->display);
    Platform& state = platform();
    std::lock_guard<std::mutex> lock(state.connectionMutex);
    state.opened.erase(std::remove(state.opened.begin(), state.opened.end(), closing),
                       state.opened.end());
}

std::shared_ptr<Connection> connection(bool reportFailure) {
    Platform& state = platform();
    // NOTE: Mesa's GLX set-up of two connections on two threads at once can leave one of them
    // without framebuffer configurations, so connections are opened one at a time.
    std::lock_guard<std::mutex> opening(state.openMutex);
    std::unique_lock<std::mutex> lock(state.connectionMutex);
    if (state.host)
        return state.host;
    if (state.own && !state.own->lost)
        return state.own;
    if (!state.openFailed || !reportFailure) {
        lock.unlock();
        std::shared_ptr<Connection> opened = openOwnConnection(nullptr);
        if (opened)
            initializeGLX(opened->display);
        lock.lock();
        if (state.host)
            return state.host;
        if (opened && (!state.own || state.own->lost))
            state.own = opened;
    }
    // Said once: every later call fails the same way for the same reason.
    if (!state.own && reportFailure && !state.openFailed) {
        state.openFailed = true;
        diagnose("XOpenDisplay", std::string("cannot open display \"") + XDisplayName(nullptr) +
                                     "\" (is DISPLAY set?)");
    }
    return state.own;
}

Display* display(bool reportFailure) {
    std::shared_ptr<Connection> current = connection(reportFailure);
    return current ? current->display : nullptr;
}

std::shared_ptr<Connection> connectionOf(Display* display) {
    Platform& state = platform();
    std::lock_guard<std::mutex> lock(state.connectionMutex);
    if (state.host && state.host->display == display)
        return state.host;
    for (const std::shared_ptr<Connection>& opened : state.opened)
        if (opened->display == display)
            return opened;
    return nullptr;
}

bool isLost(Display* display) {
    std::shared_ptr<Connection> known = connectionOf(display);
    return known && known->lost;
}

} // namespace zn::x11

void znSetX11Display(Display* display) {
    using namespace zn::x11;
    Platform& state = platform();
    if (display) {
        initializeGLX(display);
        installErrorHandlers(state);
    }
    std::lock_guard<std::mutex> lock(state.connectionMutex);
    if (!display)
        state.host = nullptr;
    else if (!state.host || state.host->display != display)
        state.host = std::make_shared<Connection>(display, false);
}
