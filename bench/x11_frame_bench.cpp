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
#include "ring.h"
#include "rounds.h"
#include "znVelmora.h"

namespace {

using Clock = std::chrono::steady_clock;
// Where a window stands and how large it is.
struct Area {
    int x, y, width, height;
};
const Area kFull = {0, 0, 640, 480};

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class RingScene : public znRenderEnv {
  public:
    RingScene(const Ring& ring, const Area& area) : ring(ring), area(area) {}
    void prepareEnvironment() override { ring.prepare(); }
    void initEnvironment() override {}
    void syncEnvironment() override {}
    void animateEnvironment(float seconds) override { angle += 30.0f * seconds; }
    void renderEnvironment() override {
        ring.draw(angle, area.width, area.height);
        ++frames;
    }
    void destroyEnvironment() override {}

    long frames = 0;

  private:
    const Ring& ring;
    Area area;
    float angle = 0.0f;
};

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
        : display(display), window(newWindow(display, area)), scene(ring, area),
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
        : display(XOpenDisplay(DisplayString(host))), ring(ring), area(area),
          window(newWindow(display, area)) {
        int count = 0;
        GLXFBConfig* configs = glXGetFBConfigs(display, DefaultScreen(display), &count);
        context = glXCreateNewContext(display, configs[format - 1], GLX_RGBA_TYPE, nullptr, True);
        XFree(configs);
        glXMakeContextCurrent(display, window, window, context);
        glClearColor(0.3f, 0.1f, 0.0f, 0.0f);
        glEnable(GL_DEPTH_TEST);
        font = XLoadQueryFont(display, "-adobe-helvetica-bold-o-normal--12-*-*-*-p-*-iso8859-1");
        listBase = glGenLists(96);
        if (font)
            glXUseXFont(font->fid, 32, 96, listBase);
        while (glGetError() != GL_NO_ERROR) {
        }
        ring.prepare();
        last = Clock::now();
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
        const Clock::time_point now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        angle += 30.0f * static_cast<float>(seconds);
        ring.draw(angle, area.width, area.height);
        if (++refresh > 10) {
            refresh = 0;
            std::snprintf(text, sizeof text, "%.2f Frames/sec", seconds > 0 ? 1.0 / seconds : 0.0);
        }
        glViewport(0, area.height - 45, 50, 40);
        overlay();
        glFinish();
        glXSwapBuffers(display, window);
    }

  private:
    void overlay() {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-1.1, 1.1, -1.1, 1.1, 0.1, 10.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(0.0f, 1.0f, 1.0f);
        glTranslatef(0.0f, 0.0f, -0.1f);
        glPushAttrib(GL_LIST_BIT);
        glRasterPos2f(-0.65f, 0.42f);
        glListBase(listBase - 32);
        glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
        glPopAttrib();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glPopAttrib();
    }

    Display* display;
    const Ring& ring;
    Area area;
    Window window;
    GLXContext context = nullptr;
    XFontStruct* font = nullptr;
    GLuint listBase = 0;
    Clock::time_point last;
    float angle = 0.0f;
    int refresh = 10;
    char text[32] = "";
};

// Frames per second of a loop run for the given time.
template <class Frame> double rate(Frame frame, double seconds) {
    // The first frames compile the driver's pipelines; they are no part of the rate.
    for (int warmUp = 0; warmUp < 5; ++warmUp)
        frame();
    long frames = 0;
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < seconds) {
        frame();
        ++frames;
    }
    return frames / secondsSince(start);
}

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

// A loop to time: it makes its context current and runs for the given seconds, answering its
// frames per second.
struct Loop {
    const char* name;
    std::function<double(double)> run;
};

struct Spread {
    double median, low, high;
};

Spread spread(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {median(values), values.front(), values.back()};
}

// Rounds in which every loop runs once, each round starting with the next loop in turn, so
// that none always runs first (on a busy machine the first one pays for what ran before).
// Answers each loop's rates, round by round.
std::vector<std::vector<double>> interleaved(const std::vector<Loop>& loops, int rounds,
                                             double seconds) {
    std::vector<std::vector<double>> rates(loops.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < loops.size(); ++i) {
            const size_t at = (round + i) % loops.size();
            rates[at].push_back(loops[at].run(seconds));
        }
    return rates;
}

// One loop's rate over another's, as the median of the rounds' ratios with their spread.
Spread ratio(const std::vector<double>& over, const std::vector<double>& under) {
    std::vector<double> ratios;
    for (size_t round = 0; round < over.size() && round < under.size(); ++round)
        ratios.push_back(over[round] / under[round]);
    return spread(ratios);
}

// Prints each loop's median rate with its spread, and the library's (the first loop's) rate
// over each other loop's.
void printComparison(const char* title, const std::vector<Loop>& loops,
                     const std::vector<std::vector<double>>& rates) {
    std::printf("%s\n", title);
    for (size_t i = 0; i < loops.size(); ++i) {
        if (rates[i].empty() || rates[i][0] <= 0) {
            std::printf("  %-10s not run\n", loops[i].name);
            continue;
        }
        const Spread rate = spread(rates[i]);
        std::printf("  %-10s frames/s %8.1f (%.1f..%.1f)", loops[i].name, rate.median, rate.low,
                    rate.high);
        if (i > 0) {
            const Spread r = ratio(rates[0], rates[i]);
            std::printf("   library / %s %.3f (%.3f..%.3f)", loops[i].name, r.median, r.low,
                        r.high);
        }
        std::printf("\n");
    }
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
    const Spread likeGlut = ratio(rates[4], rates[2]), likeGlfw = ratio(rates[4], rates[3]);
    std::printf("  the peers' frame (the library without its overlay): library / freeglut %.3f "
                "(%.3f..%.3f)   library / GLFW %.3f (%.3f..%.3f)\n",
                likeGlut.median, likeGlut.low, likeGlut.high, likeGlfw.median, likeGlfw.low,
                likeGlfw.high);
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
        RingScene scene(ring, kFull);
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

// Mesa's software renderer frees a frame's worth of memory and takes it back on every frame.
// Where that block sits at the top of glibc's heap, glibc gives it back to the system each time
// and the next frame faults it in again (about 300 page faults a frame at 640x480): a process
// that starts so runs at about 0.35 of its rate, by the luck of its heap's layout, and fresh
// peer processes did so in about half the rounds. Every loop here, this process and the peer
// programs it starts, therefore runs with one fixed trim threshold: this re-runs the program
// with it unless it is set already.
void fixHeapTrimming(char** argv) {
    const char* const threshold = "glibc.malloc.trim_threshold=67108864";
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.trim_threshold="))
        return;
    const std::string all =
        tunables && *tunables ? std::string(tunables) + ":" + threshold : std::string(threshold);
    setenv("GLIBC_TUNABLES", all.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::perror("x11_frame_bench: cannot re-run with a fixed heap trim threshold");
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
