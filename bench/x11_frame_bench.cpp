// The library's frame on X11 against a hand-written GLX loop that makes the same GL calls on the
// same pixel format, with X requests counted with NextRequest on every connection they use.
// Prints, in one run: frames per second unpaced of the library, the hand loop and the peer
// programs (freeglut, GLFW), and of the library with its overlay off (the peers' very frame),
// with the host's window on the default visual and then on the one znChooseX11Visual fits, as
// medians of interleaved rounds (each round starts with the next loop in turn) with their
// spread and the per-round ratios; X requests per rendered frame for each loop, X requests per
// frame that only sleeps, frames per second per window for 1, 2 and 4 windows on one thread,
// frames per second per thread for four threads with a window each against one thread alone
// (the hand loop on four threads as the control), and the start-up time of initializeOpenGL.
// Figures only: nothing here passes or fails.
//   x11_frame_bench [--rounds N] [--seconds S]
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FittingVisual.h"
#include "comparison.h"
#include "heap_trim.h"
#include "ring_frame.h"

namespace {

// Where a window stands and how large it is.
struct Area {
    int x, y, width, height;
};
const Area kFull = {0, 0, 640, 480};

// The visual new windows are made on: main measures on the screen's default one first, then on
// the one znChooseX11Visual fits to the library's pixel format.
const FittingVisual* windowVisual = nullptr;

Window newWindow(Display* display, const Area& area) {
    XSetWindowAttributes attributes = {};
    const unsigned long mask = windowVisual->apply(attributes);
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), area.x, area.y, area.width, area.height,
                      0, windowVisual->depth, InputOutput, windowVisual->visual, mask, &attributes);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

HWND handleOf(Window window) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(window));
}

// One window with its manager, drawing the ring with the overlay, unpaced unless told.
struct Managed {
    Managed(Display* display, const Ring& ring, const Area& area = kFull, unsigned int fps = 0)
        : display(display), window(newWindow(display, area)), scene(ring, area.width, area.height),
          manager(std::make_unique<znVelmora>(handleOf(window), &scene)) {
        manager->setWindowSize(0, 0, area.width, area.height);
        manager->setDestinatedFPS(fps);
        manager->initializeOpenGL();
    }
    ~Managed() {
        manager->getRenderContext().makeCurrent();
        manager->destroyOpenGL();
        manager.reset();
        XDestroyWindow(display, window);
        XSync(display, False);
    }
    void frame() {
        manager->enterRenderLoop();
        manager->renderFunc();
    }

    Display* display;
    Window window;
    RingScene scene;
    std::unique_ptr<znVelmora> manager;
};

// The same frame by hand: GLX on the configuration the library chose for its window, the same
// clear, scene, overlay calls, glFinish and swap. Like each of the library's contexts, it renders
// on a connection of its own to the host's server: Mesa's llvmpipe crashes now and then when
// contexts of one connection render on two threads at once.
class HandLoop {
  public:
    HandLoop(Display* host, const Ring& ring, int format, const Area& area = kFull)
        : display(XOpenDisplay(DisplayString(host))), window(newWindow(display, area)),
          drawing(ring, area.width, area.height) {
        int count = 0;
        GLXFBConfig* configs = glXGetFBConfigs(display, DefaultScreen(display), &count);
        context = glXCreateNewContext(display, configs[format - 1], GLX_RGBA_TYPE, nullptr, True);
        XFree(configs);
        glXMakeContextCurrent(display, window, window, context);
        font = XLoadQueryFont(display, "-adobe-helvetica-bold-o-normal--12-*-*-*-p-*-iso8859-1");
        listBase = glGenLists(96);
        if (font)
            glXUseXFont(font->fid, 32, 96, listBase);
        while (glGetError() != GL_NO_ERROR) {
        }
        drawing.start(listBase);
    }
    ~HandLoop() {
        glXMakeContextCurrent(display, window, window, context);
        glDeleteLists(listBase, 96);
        if (font)
            XFreeFont(display, font);
        glXMakeContextCurrent(display, None, None, nullptr);
        glXDestroyContext(display, context);
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    void makeCurrent() { glXMakeContextCurrent(display, window, window, context); }

    void frame() {
        drawing.draw();
        glXSwapBuffers(display, window);
    }

  private:
    Display* display;
    Window window;
    HandFrame drawing;
    GLXContext context = nullptr;
    XFontStruct* font = nullptr;
    GLuint listBase = 0;
};

// X requests sent on the host's connection and on the one the current context renders on (the
// library's own, for a manager), from construction on.
class RequestCount {
  public:
    explicit RequestCount(Display* host) : host(host), rendering(glXGetCurrentDisplay()) {
        if (rendering == host)
            rendering = nullptr;
        before = sent(true);
    }
    unsigned long sent() const { return sent(false) - before; }

  private:
    unsigned long sent(bool sync) const {
        unsigned long total = 0;
        for (Display* display : {host, rendering})
            if (display) {
                if (sync)
                    XSync(display, False);
                total += NextRequest(display);
            }
        return total;
    }
    Display* host;
    Display* rendering;
    unsigned long before = 0;
};

// X requests per call of a loop, over the given number of calls.
template <class Frame> double requestsPerFrame(Display* display, Frame frame, int calls) {
    const RequestCount count(display);
    for (int i = 0; i < calls; ++i)
        frame();
    return double(count.sent()) / calls;
}

int chosenFormat(Managed& managed) {
    return managed.manager->getRenderContext().getPixelFormat();
}

// A peer program's frames per second: it makes its own window on the visual its library
// chooses. 0 when the program was not built.
double peerRate(const std::string& program, double seconds) {
    const std::string command = program + " --seconds " + std::to_string(seconds) + " 2>/dev/null";
    FILE* output = popen(command.c_str(), "r");
    double rate = 0.0;
    if (output) {
        if (std::fscanf(output, "%lf", &rate) != 1)
            rate = 0.0;
        pclose(output);
    }
    return rate;
}

std::string besideThisProgram(const char* name) {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string directory(path, length > 0 ? size_t(length) : 0);
    return directory.substr(0, directory.rfind('/') + 1) + name;
}

void describeFormat(Managed& managed) {
    managed.manager->getRenderContext().makeCurrent();
    GLint depth = 0, stencil = 0, alpha = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    std::printf("  the library's format: depth %d, stencil %d, alpha %d (window depth %d)\n", depth,
                stencil, alpha, windowVisual->depth == CopyFromParent ? 24 : windowVisual->depth);
}

void compareLoops(Display* display, const Ring& ring, int rounds, double seconds,
                  const char* title) {
    Managed library(display, ring);
    HandLoop hand(display, ring, chosenFormat(library));
    const std::string glut = besideThisProgram("glut_ring"), glfw = besideThisProgram("glfw_ring");
    // The peers draw no overlay: the library with its overlay off draws their very frame.
    const auto libraryLoop = [&](bool overlay) {
        return [&library, overlay](double s) {
            library.manager->getRenderContext().makeCurrent();
            library.manager->setShowFPS(overlay);
            const double frames = rate([&] { library.frame(); }, s);
            library.manager->setShowFPS(true);
            return frames;
        };
    };
    const std::vector<Loop> loops = {
        {"library", libraryLoop(true)},
        {"hand loop",
         [&](double s) {
             hand.makeCurrent();
             return rate([&] { hand.frame(); }, s);
         }},
        {"freeglut", [&](double s) { return peerRate(glut, s); }},
        {"GLFW", [&](double s) { return peerRate(glfw, s); }},
        {"no overlay", libraryLoop(false)},
    };
    const auto rates = interleaved(loops, rounds, seconds);
    printComparison(title, loops, rates);
    std::printf("  the peers' frame (the library without its overlay):");
    printRatio("freeglut", rates[4], rates[2]);
    printRatio("GLFW", rates[4], rates[3]);
    std::printf("\n");
    describeFormat(library);

    library.manager->getRenderContext().makeCurrent();
    const double libraryRequests = requestsPerFrame(
        display, [&] { library.frame(); }, 200);
    hand.makeCurrent();
    const double handRequests = requestsPerFrame(
        display, [&] { hand.frame(); }, 200);
    std::printf("  X requests per frame: library %.2f, hand loop %.2f\n", libraryRequests,
                handRequests);
}

void sleepingFrames(Display* display, const Ring& ring) {
    Managed paced(display, ring, kFull, 50);
    unsigned long requests = 0;
    long calls = 0;
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < 0.5) {
        const long drawn = paced.scene.frames;
        const RequestCount count(display);
        paced.frame();
        if (paced.scene.frames == drawn) {
            requests += count.sent();
            ++calls;
        }
    }
    std::printf("X requests per frame that only sleeps    %.2f (%ld such calls at 50 frames/s)\n",
                calls ? double(requests) / calls : 0.0, calls);
}

// Several windows driven from one thread, each switched to before its frame, side by side on
// a quarter of the full area each, against the hand loop doing the same, in interleaved rounds.
void windows(Display* display, const Ring& ring, int rounds, double seconds) {
    const Area quarters[] = {
        {0, 0, 320, 240}, {320, 0, 320, 240}, {0, 240, 320, 240}, {320, 240, 320, 240}};
    double single = 0;
    for (int count : {1, 2, 4}) {
        std::vector<std::unique_ptr<Managed>> managed;
        std::vector<std::unique_ptr<HandLoop>> hand;
        for (int i = 0; i < count; ++i)
            managed.push_back(std::make_unique<Managed>(display, ring, quarters[i]));
        const int format = chosenFormat(*managed.front());
        for (int i = 0; i < count; ++i)
            hand.push_back(std::make_unique<HandLoop>(display, ring, format, quarters[i]));
        // A host with one window never switches.
        const std::vector<Loop> loops = {
            {"library",
             [&](double s) {
                 managed.front()->manager->getRenderContext().makeCurrent();
                 return rate(
                     [&] {
                         for (auto& each : managed) {
                             if (count > 1)
                                 each->manager->getRenderContext().makeCurrent();
                             each->frame();
                         }
                     },
                     s);
             }},
            {"hand loop",
             [&](double s) {
                 hand.front()->makeCurrent();
                 return rate(
                     [&] {
                         for (auto& each : hand) {
                             if (count > 1)
                                 each->makeCurrent();
                             each->frame();
                         }
                     },
                     s);
             }},
        };
        const auto rates = interleaved(loops, rounds, seconds);
        const double library = median(rates[0]);
        if (count == 1)
            single = library;
        char title[96];
        std::snprintf(title, sizeof title,
                      "%d window(s) 320x240, frames/s per window (x one window's share %.3f)",
                      count, library / (single / count));
        printComparison(title, loops, rates);
    }
}

// Frames per second of each of count threads, each with a window of its own, all running at
// once: make builds a thread's loop on that thread (its context current there).
template <class Make> std::vector<double> threadRates(int count, Make make, double seconds) {
    std::vector<double> rates(count);
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&, i] {
            auto loop = make(i);
            ++ready;
            while (ready.load() < count)
                std::this_thread::yield();
            rates[i] = rate([&] { loop->frame(); }, seconds);
        });
    for (std::thread& thread : threads)
        thread.join();
    return rates;
}

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (double value : values)
        sum += value;
    return values.empty() ? 0.0 : sum / values.size();
}

// Four hosts on four threads, each rendering its own small window unpaced, against one such
// thread alone; the hand loop does the same as the control. A rate per thread near the hand
// loop's shows that the library adds no lock of its own between the threads' frames.
void threads(Display* display, const Ring& ring, double seconds) {
    const Area small = {0, 0, 160, 120};
    int format = 0;
    {
        Managed probe(display, ring, small);
        format = chosenFormat(probe);
    }
    const auto managed = [&](int i) {
        const Area area = {(i % 4) * 170, 0, small.width, small.height};
        return std::make_unique<Managed>(display, ring, area);
    };
    const auto hand = [&](int i) {
        const Area area = {(i % 4) * 170, 200, small.width, small.height};
        return std::make_unique<HandLoop>(display, ring, format, area);
    };
    const double libraryOne = mean(threadRates(1, managed, seconds));
    const double handOne = mean(threadRates(1, hand, seconds));
    const double libraryFour = mean(threadRates(4, managed, seconds));
    const double handFour = mean(threadRates(4, hand, seconds));
    std::printf("1 thread 160x120      frames/s %7.1f (hand loop %7.1f, ratio %.3f)\n", libraryOne,
                handOne, libraryOne / handOne);
    std::printf("4 threads 160x120     frames/s per thread %7.1f (hand loop %7.1f, ratio %.3f)"
                "   x one thread's %.3f (hand loop %.3f)\n",
                libraryFour, handFour, libraryFour / handFour, libraryFour / libraryOne,
                handFour / handOne);
}

void startUp(Display* display, const Ring& ring) {
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        const Window window = newWindow(display, kFull);
        RingScene scene(ring, kFull.width, kFull.height);
        {
            znVelmora manager(handleOf(window), &scene);
            manager.setWindowSize(0, 0, kFull.width, kFull.height);
            const Clock::time_point start = Clock::now();
            manager.initializeOpenGL();
            times.push_back(1000.0 * secondsSince(start));
            manager.destroyOpenGL();
        }
        XDestroyWindow(display, window);
        XSync(display, False);
    }
    times.erase(times.begin()); // the first one also loads the driver
    std::printf("initializeOpenGL      median %.2f ms (min %.2f, max %.2f, %zu runs)\n",
                median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), times.size());
}

} // namespace

int main(int argc, char** argv) {
    fixHeapTrimming(argv);
    std::printf("every loop with glibc's heap trim threshold fixed at 64 MiB\n");
    const Rounds rounds = readRounds(argc, argv, {5, 1.0}, 0.1);
    // A failure report must never wait for someone to press OK here.
    setenv("ZNVELMORA_MESSAGEBOX", "stderr", 0);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11_frame_bench: cannot open display \"%s\"\n",
                     XDisplayName(nullptr));
        return 1;
    }
    // The host hands its connection over, as an SDL host does; the library renders on one of its
    // own to the same server, and requests are counted on both.
    znSetX11Display(display);
    const Ring ring;
    const FittingVisual defaultVisual(display, DefaultScreen(display), false);
    const FittingVisual fitting(display, DefaultScreen(display));
    windowVisual = &fitting;
    startUp(display, ring);
    windowVisual = &defaultVisual;
    compareLoops(display, ring, rounds.count, rounds.seconds,
                 "unpaced, the host's window on the default visual");
    windowVisual = &fitting;
    compareLoops(display, ring, rounds.count, rounds.seconds,
                 "unpaced, the host's window on the visual of znChooseX11Visual");
    sleepingFrames(display, ring);
    windows(display, ring, rounds.count, rounds.seconds);
    threads(display, ring, rounds.seconds);
    if (fitting.colormap != None)
        XFreeColormap(display, fitting.colormap);
    return 0;
}
