// Collects the message boxes the library shows while the watcher lives, each as
// "caption: text". On Windows a thread finds each box by its caption, reads its text and presses
// OK; elsewhere the library reports on standard error, which the watcher captures.
#pragma once

#include <memory>
#include <string>
#include <vector>

class BoxWatcher {
  public:
    BoxWatcher();
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // Stops watching and answers the boxes seen, in order.
    std::vector<std::string> stop();

  private:
    struct System;
    std::unique_ptr<System> system;
};
