// The connections the layer works on: its own, opened on first need to the host's server or
// DISPLAY and replaced once lost. Why the host's connection carries none of the layer's
// requests is at the top of x11_platform.h.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

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

// The server new handles go to: the host's when it handed a connection over, else DISPLAY's.
std::string wantedServer(const Platform& state) {
    return state.host ? state.hostServer : std::string(XDisplayName(nullptr));
}

bool serves(const std::shared_ptr<Connection>& connection, const std::string& server) {
    return connection && !connection->lost && server == DisplayString(connection->display);
}

// A connection set up for GLX; call with the platform's openMutex held.
std::shared_ptr<Connection> openForGLX(const std::string& server) {
    std::shared_ptr<Connection> opened = openOwnConnection(server.c_str());
    if (opened)
        initializeGLX(opened->display);
    return opened;
}

} // namespace

std::shared_ptr<Connection> openOwnConnection(const char* server) {
    Display* opened = XOpenDisplay(server);
    if (!opened)
        return nullptr;
    Platform& state = platform();
    installErrorHandlers(state);
    XSetIOErrorExitHandler(opened, keepRunning, nullptr);
    auto made = std::make_shared<Connection>(opened);
    std::lock_guard<decltype(state.errorMutex)> lock(state.errorMutex);
    state.opened.push_back(made);
    return made;
}

void closeOwnConnection(const std::shared_ptr<Connection>& closing) {
    // A lost connection is closed too: Xlib then only frees what it kept of it.
    XCloseDisplay(closing->display);
    Platform& state = platform();
    std::lock_guard<decltype(state.errorMutex)> lock(state.errorMutex);
    state.opened.erase(std::remove(state.opened.begin(), state.opened.end(), closing),
                       state.opened.end());
}

std::shared_ptr<Connection> takeContextConnection(const std::string& server) {
    Platform& state = platform();
    {
        std::lock_guard<decltype(state.connectionMutex)> lock(state.connectionMutex);
        const auto spare = std::find_if(state.spare.begin(), state.spare.end(),
                                        [&](const auto& kept) { return serves(kept, server); });
        if (spare != state.spare.end()) {
            std::shared_ptr<Connection> taken = *spare;
            state.spare.erase(spare);
            return taken;
        }
    }
    std::lock_guard<decltype(state.openMutex)> opening(state.openMutex);
    return openForGLX(server);
}

void giveBackContextConnection(const std::shared_ptr<Connection>& connection) {
    // A lost one is left as the lost current connection is (see shutDown in x11_platform.cpp).
    if (connection->lost)
        return;
    Platform& state = platform();
    std::lock_guard<decltype(state.connectionMutex)> lock(state.connectionMutex);
    state.spare.push_back(connection);
}

std::shared_ptr<Connection> connection(bool reportFailure) {
    Platform& state = platform();
    // NOTE: Mesa's GLX set-up of two connections on two threads at once can leave one of them
    // without framebuffer configurations, so connections are opened one at a time.
    std::lock_guard<decltype(state.openMutex)> opening(state.openMutex);
    std::unique_lock<decltype(state.connectionMutex)> lock(state.connectionMutex);
    const std::string server = wantedServer(state);
    if (serves(state.own, server))
        return state.own;
    if (!state.openFailed || !reportFailure) {
        lock.unlock();
        std::shared_ptr<Connection> opened = openForGLX(server);
        lock.lock();
        if (opened)
            state.own = opened;
    }
    // Said once: every later call fails the same way for the same reason.
    if (!serves(state.own, server) && reportFailure && !state.openFailed) {
        state.openFailed = true;
        diagnose("XOpenDisplay", "cannot open display \"" + server + "\"" +
                                     (state.host ? "" : " (is DISPLAY set?)"));
    }
    return serves(state.own, server) ? state.own : nullptr;
}

Display* display(bool reportFailure) {
    std::shared_ptr<Connection> current = connection(reportFailure);
    return current ? current->display : nullptr;
}

void syncHostConnection() {
    Platform& state = platform();
    std::unique_lock<decltype(state.connectionMutex)> lock(state.connectionMutex);
    Display* host = state.host;
    lock.unlock();
    // Any error of the host's own requests read here goes to the host's handler, as on any of
    // the host's threads.
    if (host)
        XSync(host, False);
}

std::shared_ptr<Connection> connectionOf(Display* display) {
    Platform& state = platform();
    std::lock_guard<decltype(state.errorMutex)> lock(state.errorMutex);
    const std::shared_ptr<Connection>* found = state.findOpened(display);
    return found ? *found : nullptr;
}

} // namespace zn::x11

void znSetX11Display(Display* display) {
    using namespace zn::x11;
    Platform& state = platform();
    if (display)
        installErrorHandlers(state);
    std::lock_guard<decltype(state.connectionMutex)> lock(state.connectionMutex);
    state.host = display;
    state.hostServer = display ? DisplayString(display) : "";
    state.openFailed = false;
}
