// The library's frame on Wayland against a hand-written EGL loop that makes the same GL calls on
// the same EGL configuration and the same compositor connection, each on a sub-surface of its
// own side by side on one full-screen toplevel, both at swap interval 0. Prints, in one run:
// frames per second unpaced of the library and the hand loop as medians of interleaved rounds
// (each round starts with the next loop in turn) with their spread and the per-round ratio; the
// times of initializeOpenGL and destroyOpenGL; and the requests each loop sends the compositor
// per frame, by kind, with the round trips (wl_display.sync) among them, counted in a second run
// of this program under WAYLAND_DEBUG=client. Figures only: nothing here passes or fails.
//   wayland_frame_bench [--rounds N] [--seconds S]
//   wayland_frame_bench --count-requests N    N frames of each loop, marked on standard error
#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Desk.h"
#include "comparison.h"
#include "glyph_lists.h"
#include "heap_trim.h"
#include "ring_frame.h"
#include "wayland_requests.h"

namespace {

// Where the loops draw: a sub-surface each, side by side on one full-screen toplevel of the
// host's connection, so that the compositor shows every loop's frames alike.

// One loop's half of the desk: 0 the left, 1 the right.
class Pane {
  public:
    Pane(Desk& desk, int half)
        : width(desk.window.width() / 2), height(desk.window.height()), desk(desk),
          window(desk, half * width, 0) {}

    wl_surface* surface() const { return window.surface(); }
    HWND handle() const { return reinterpret_cast<HWND>(surface()); }

    const int width, height;
    Desk& desk;

  private:
    DeskSurface window;
};

// The library on the left pane, drawing the ring with the overlay, unpaced.
struct Managed {
    Managed(Desk& desk, const Ring& ring)
        : pane(desk, 0), scene(ring, pane.width, pane.height),
          manager(std::make_unique<znVelmora>(pane.handle(), &scene)) {
        manager->setWindowSize(0, 0, pane.width, pane.height);
        manager->setDestinatedFPS(0);
        if (!manager->initializeOpenGL())
            throw std::runtime_error("the library's start-up failed");
    }
    ~Managed() {
        manager->getRenderContext().makeCurrent();
        manager->destroyOpenGL();
        manager.reset();
    }
    void makeCurrent() { manager->getRenderContext().makeCurrent(); }
    void frame() {
        manager->enterRenderLoop();
        manager->renderFunc();
    }
    int format() { return manager->getRenderContext().getPixelFormat(); }

    Pane pane;
    RingScene scene;
    std::unique_ptr<znVelmora> manager;
};

// The same frame by hand on the right pane: EGL on the host's connection, as the library's,
// on the configuration the library chose (its formats are EGL's configurations in
// eglGetConfigs order), the library's overlay font rasterised the way the library does it, the
// same clear, scene, overlay calls, glFinish and swap, at swap interval 0 as the library starts.
class HandLoop {
  public:
    HandLoop(Desk& desk, const Ring& ring, int format)
        : pane(desk, 1), drawing(ring, pane.width, pane.height),
          display(eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(desk.window.display()))) {
        if (!eglInitialize(display, nullptr, nullptr) || !eglBindAPI(EGL_OPENGL_API))
            throw std::runtime_error("EGL does not start on the host's connection");
        const EGLConfig config = configOf(format);
        native = wl_egl_window_create(pane.surface(), pane.width, pane.height);
        surface = eglCreateWindowSurface(display, config,
                                         reinterpret_cast<EGLNativeWindowType>(native), nullptr);
        const EGLint none[] = {EGL_NONE};
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, none);
        if (!eglMakeCurrent(display, surface, surface, context))
            throw std::runtime_error("the hand loop's context cannot be made current");
        eglSwapInterval(display, 0);
        // The library's overlay font: Arial 15 (13 pixels), bold, italic.
        listBase = buildGlyphLists("Arial:weight=bold:slant=italic", 13);
        if (!listBase)
            throw std::runtime_error("the hand loop's glyphs cannot be rasterised");
        drawing.start(listBase);
    }
    // The EGL display stays initialised: it is the library's too.
    ~HandLoop() {
        makeCurrent();
        glDeleteLists(listBase, 96);
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
        eglDestroySurface(display, surface);
        wl_egl_window_destroy(native);
    }
    void makeCurrent() { eglMakeCurrent(display, surface, surface, context); }
    void frame() {
        drawing.draw();
        eglSwapBuffers(display, surface);
    }

  private:
    EGLConfig configOf(int format) {
        EGLint count = 0;
        eglGetConfigs(display, nullptr, 0, &count);
        std::vector<EGLConfig> configs(static_cast<size_t>(count));
        eglGetConfigs(display, configs.data(), count, &count);
        if (format < 1 || format > count)
            throw std::runtime_error("the library's format is no EGL configuration");
        return configs[static_cast<size_t>(format - 1)];
    }

    Pane pane;
    HandFrame drawing;
    EGLDisplay display;
    wl_egl_window* native = nullptr;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint listBase = 0;
};

// A loop's rate over the given seconds, its context made current first.
template <class Drawing> std::function<double(double)> timed(Drawing& drawing) {
    return [&drawing](double seconds) {
        drawing.makeCurrent();
        return rate([&] { drawing.frame(); }, seconds);
    };
}

void compareLoops(Managed& library, HandLoop& hand, const Rounds& rounds) {
    const std::vector<Loop> loops = {{"library", timed(library)}, {"hand loop", timed(hand)}};
    char title[96];
    std::snprintf(title, sizeof title, "unpaced, %dx%d each, swap interval 0 (EGL format %d)",
                  library.pane.width, library.pane.height, library.format());
    printComparison(title, loops, interleaved(loops, rounds.count, rounds.seconds));
}

void printTimes(const char* name, const std::vector<double>& times) {
    std::printf("%-17s median %.2f ms (min %.2f, max %.2f, %zu runs)\n", name, median(times),
                *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), times.size());
}

// Start-up and tear-down of a manager on a fresh pane, as a host with one more window does; the
// first run, which also loads EGL and the driver, is left out.
void startUp(Desk& desk, const Ring& ring) {
    std::vector<double> starts, ends;
    for (int i = 0; i < 7; ++i) {
        Pane pane(desk, 0);
        RingScene scene(ring, pane.width, pane.height);
        znVelmora manager(pane.handle(), &scene);
        manager.setWindowSize(0, 0, pane.width, pane.height);
        Clock::time_point start = Clock::now();
        if (!manager.initializeOpenGL())
            throw std::runtime_error("the library's start-up failed");
        starts.push_back(1000.0 * secondsSince(start));
        start = Clock::now();
        manager.destroyOpenGL();
        ends.push_back(1000.0 * secondsSince(start));
    }
    starts.erase(starts.begin());
    ends.erase(ends.begin());
    printTimes("initializeOpenGL", starts);
    printTimes("destroyOpenGL", ends);
}

// The child's part: warmed-up frames of a loop between marks on standard error, where
// WAYLAND_DEBUG=client writes every request as it is sent.
template <class Drawing> void markedFrames(const char* name, Drawing& drawing, int frames) {
    drawing.makeCurrent();
    for (int i = 0; i < 5; ++i)
        drawing.frame();
    markFrames(name);
    for (int i = 0; i < frames; ++i)
        drawing.frame();
    markFrames(nullptr);
}

int countedFrames(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--count-requests") == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    fixHeapTrimming(argv);
    const int counted = countedFrames(argc, argv);
    const Rounds rounds = readRounds(argc, argv, {5, 1.0}, 0.1);
    // A failure report must never wait for someone to press OK here.
    setenv("ZNVELMORA_MESSAGEBOX", "stderr", 0);
    wl_display* host = wl_display_connect(nullptr);
    if (!host) {
        std::fprintf(stderr, "wayland_frame_bench: no Wayland compositor (WAYLAND_DISPLAY)\n");
        return 1;
    }
    znSetWaylandDisplay(host);
    int status = 0;
    try {
        const Ring ring;
        Desk desk(host, "znVelmora frame bench");
        if (!counted) {
            std::printf("every loop with glibc's heap trim threshold fixed at 64 MiB\n");
            startUp(desk, ring);
        }
        {
            Managed library(desk, ring);
            HandLoop hand(desk, ring, library.format());
            if (counted) {
                markedFrames("library", library, counted);
                markedFrames("hand loop", hand, counted);
            } else {
                compareLoops(library, hand, rounds);
            }
        }
        // The program again through this process's own link to it: no path to quote.
        if (!counted)
            countRequests("/proc/" + std::to_string(getpid()) + "/exe --count-requests", 200,
                          {"library", "hand loop"});
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "wayland_frame_bench: %s\n", failure.what());
        status = 1;
    }
    znSetWaylandDisplay(nullptr);
    wl_display_disconnect(host);
    return status;
}
