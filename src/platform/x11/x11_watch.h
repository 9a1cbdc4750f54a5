// The watcher's part in the platform object's life (x11_watch.cpp).
#pragma once

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

// Gives the platform its watcher; it opens its connection on the first IsIconic.
void startWatcher(Platform& state);
// Closes the watch connection (at shut-down); a later IsIconic opens a new one.
void stopWatching(Platform& state);
// Forgets the watch connection without touching it (in a forked child).
void forgetWatchedWindows(Platform& state);
// Held across a fork, so that the child finds the watcher unlocked.
void lockWatcher(Platform& state);
void unlockWatcher(Platform& state);

} // namespace zn::x11
