// The platform object: made on first use, with the fork and exit handlers that keep it sound.
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
    state.own = nullptr;
    state.spare.clear();
    state.openFailed = false;
    state.watcher->forget();
}

// No other thread may hold the platform's locks across the fork, or the child would wait on
// them for good; they are taken in the layer's order.
void lockBeforeFork() {
    started->watcher->mutex.lock();
    started->openMutex.lock();
    started->connectionMutex.lock();
    started->errorMutex.lock();
}

void unlockAfterFork() {
    started->errorMutex.unlock();
    started->connectionMutex.unlock();
    started->openMutex.unlock();
    started->watcher->mutex.unlock();
}

// At exit the watch connection goes. NOTE: the layer's other connections stay open: closing one
// frees Mesa's GLX state of the display, which leaves memory of llvmpipe's compiler unreachable
// (LeakSanitizer reports it), and contexts or fonts the host never released may still be made on
// them. For the same reason a deleted context's connection is kept for the next context.
void shutDown() {
    started->watcher->stop();
}

} // namespace

Platform::Platform() : watcher(std::make_unique<Watcher>()) {}

Platform::~Platform() = default;

const std::shared_ptr<Connection>* Platform::findOpened(Display* display) const {
    for (const std::shared_ptr<Connection>& connection : opened)
        if (connection->display == display)
            return &connection;
    return nullptr;
}

Platform& platform() {
    // Never destroyed: other threads may still be inside the layer while the process exits.
    std::call_once(startOnce, [] {
        started = new Platform();
        pthread_atfork(lockBeforeFork, unlockAfterFork, [] {
            unlockAfterFork();
            dropInheritedConnections();
        });
        std::atexit(shutDown);
    });
    return *started;
}

} // namespace zn::x11
