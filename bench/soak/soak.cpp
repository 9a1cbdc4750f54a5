// Soak: many full lifetimes of a render manager in a fresh window, then many overlay frames on
// one manager, with the process's memory and resources printed along the way. With --check it
// fails when descriptors/handles, X resources/GDI objects or display lists grew between the
// first and the last reading (memory is printed, never judged: allocators keep what they had).
//
//   soak [--cycles N] [--overlay-frames M] [--check]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "LiveWindow.h"
#include "probes.h"
#include "znVelmora.h"

namespace {

#if defined(_WIN32)
const int kDefaultCycles = 100;
#else
const int kDefaultCycles = 1000;
#endif
const GLuint kListNamesProbed = 1024;

struct Options {
    int cycles = kDefaultCycles;
    long overlayFrames = 100000;
    bool check = false;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--cycles") == 0 && hasValue)
            options.cycles = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--overlay-frames") == 0 && hasValue)
            options.overlayFrames = std::atol(argv[++i]);
        else if (std::strcmp(argv[i], "--check") == 0)
            options.check = true;
        else
            return false;
    }
    return options.cycles >= 1 && options.overlayFrames >= 1;
}

// Display lists alive in the current context among the names a few fonts would use.
int liveLists() {
    int alive = 0;
    for (GLuint name = 1; name <= kListNamesProbed; ++name)
        alive += glIsList(name) ? 1 : 0;
    return alive;
}

// A scene that draws nothing and keeps nothing per frame, so that the figures are the library's.
// It counts the display lists alive when its tear-down begins.
class QuietScene : public znRenderEnv {
  public:
    int listsAtTearDown = -1;

    void prepareEnvironment() override {}
    void initEnvironment() override {}
    void syncEnvironment() override {}
    void animateEnvironment(float) override {}
    void renderEnvironment() override {}
    void destroyEnvironment() override { listsAtTearDown = liveLists(); }
};

struct Reading {
    long at;
    ResourceProbe probe;
    int lists;
};

void print(const char* label, const Reading& reading) {
    std::printf("%-8s %-8ld %-10ld %-8ld %-12ld %d\n", label, reading.at, reading.probe.residentKiB,
                reading.probe.openHandles, reading.probe.systemObjects, reading.lists);
    std::fflush(stdout);
}

// One lifetime: window, manager, start-up, three frames, tear-down, delete. Answers the lists
// the manager's context held when its tear-down began (the overlay's glyphs).
int oneLifetime() {
    LiveWindow window(96, 64);
    QuietScene scene;
    znVelmora* manager = new znVelmora(window.handle(), &scene);
    manager->setWindowSize(0, 0, window.width(), window.height());
    manager->setDestinatedFPS(0);
    manager->initializeOpenGL();
    manager->enterRenderLoop();
    for (int frame = 0; frame < 3; ++frame) {
        manager->renderFunc();
        window.pump();
    }
    manager->destroyOpenGL();
    delete manager;
    return scene.listsAtTearDown;
}

bool steady(const char* what, const Reading& first, const Reading& last) {
    bool same = true;
    auto compare = [&](const char* name, long before, long after) {
        if (after > before) {
            std::printf("%s: %s grew from %ld to %ld\n", what, name, before, after);
            same = false;
        }
    };
    compare("open handles", first.probe.openHandles, last.probe.openHandles);
    compare(systemObjectsName().c_str(), first.probe.systemObjects, last.probe.systemObjects);
    compare("display lists", first.lists, last.lists);
    return same;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: soak [--cycles N] [--overlay-frames M] [--check]\n");
        return 2;
    }
    std::printf("soak: %d lifetimes of window, manager, start-up, 3 frames, tear-down\n",
                options.cycles);
    std::printf("%-8s %-8s %-10s %-8s %-12s %s\n", "", "cycle", "rss KiB", "handles",
                systemObjectsName().c_str(), "lists");
    std::vector<Reading> readings;
    for (int cycle = 1; cycle <= options.cycles; ++cycle) {
        const int lists = oneLifetime();
        if (cycle == 10 || cycle == 100 || cycle == options.cycles) {
            readings.push_back(Reading{cycle, probeResources(), lists});
            print("cycles", readings.back());
        }
    }

    std::printf("overlay: %ld frames on one manager\n", options.overlayFrames);
    LiveWindow window(96, 64);
    QuietScene scene;
    znVelmora manager(window.handle(), &scene);
    manager.setWindowSize(0, 0, window.width(), window.height());
    manager.setDestinatedFPS(0);
    manager.initializeOpenGL();
    manager.enterRenderLoop();
    manager.renderFunc();
    const Reading start{1, probeResources(), liveLists()};
    print("frames", start);
    for (long frame = 2; frame <= options.overlayFrames; ++frame) {
        manager.renderFunc();
        if (frame % 256 == 0)
            window.pump();
        if (frame < options.overlayFrames && (frame == 1000 || frame % 10000 == 0))
            print("frames", Reading{frame, probeResources(), liveLists()});
    }
    const Reading end{options.overlayFrames, probeResources(), liveLists()};
    print("frames", end);
    manager.destroyOpenGL();

    if (!options.check)
        return 0;
    const bool lifetimes =
        readings.size() < 2 || steady("lifetimes", readings.front(), readings.back());
    const bool frames = steady("overlay frames", start, end);
    std::printf("%s\n", lifetimes && frames ? "resources steady" : "resources grew");
    return lifetimes && frames ? 0 : 1;
}
