// Drives the render manager in a tight host loop at 30, 60, 100 and 144 frames per second and
// prints what each way of pacing achieves: the library's default rule, its precise pacing, and
// a hand-written limiter in the host's loop (an absolute schedule slept out with
// clock_nanosleep, or on Windows a high-resolution waitable timer) around unpaced library
// frames. For each: the mean rate, the median, standard deviation and 99th percentile of the
// frame intervals, and the processor time per second of running. The ways take turns, each
// round starting with the next one, and the figures pool the rounds. bench/frame_pacing_tick_bench
// shows the same on the modelled Windows timer tick.
//   frame_pacing_bench [--rounds N] [--seconds S]
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "LiveWindow.h"
#include "TestEnvironment.h"
#include "pacing_figures.h"
#include "znVelmora.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double wallSeconds() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

double processorSeconds() {
#if defined(_WIN32)
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
#else
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
#endif
}

enum class Pacing { defaultRule, precise, handLimiter };
const char* const kNames[] = {"default rule", "precise", "hand limiter"};

// What a host writes by hand: frame k at start + k / fps, slept out to the deadline with the
// finest sleep the system has (clock_nanosleep; on Windows a high-resolution waitable timer);
// a frame that comes late moves the schedule to now.
class HandLimiter {
  public:
    explicit HandLimiter(unsigned int fps)
        : interval(std::chrono::nanoseconds(1000000000LL / fps)) {}
    void wait() {
        const Clock::time_point now = Clock::now();
        next = next == Clock::time_point() ? now : next + interval;
        if (next < now) {
            next = now;
            return;
        }
        sleepUntil(next);
    }

  private:
#if defined(_WIN32)
    void sleepUntil(Clock::time_point at) {
        LARGE_INTEGER due;
        due.QuadPart =
            -std::chrono::duration_cast<std::chrono::nanoseconds>(at - Clock::now()).count() / 100;
        SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
        WaitForSingleObject(timer, INFINITE);
    }
    HANDLE timer =
        CreateWaitableTimerExW(nullptr, nullptr, 2 /* high resolution */, TIMER_ALL_ACCESS);
#else
    void sleepUntil(Clock::time_point at) {
        const long long ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
        const timespec when{static_cast<time_t>(ns / 1000000000LL),
                            static_cast<long>(ns % 1000000000LL)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) != 0) {
        }
    }
#endif
    std::chrono::nanoseconds interval;
    Clock::time_point next;
};

void run(LiveWindow& window, unsigned int fps, Pacing pacing, double seconds,
         PacingSample& sample) {
    TestEnvironment env;
    std::vector<double> starts;
    env.drawing = [&] { starts.push_back(wallSeconds()); };
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, window.width(), window.height());
    manager.setDestinatedFPS(pacing == Pacing::handLimiter ? 0 : fps);
    manager.setPrecisePacing(pacing == Pacing::precise);
    manager.initializeOpenGL();
    HandLimiter limiter(fps);
    const double start = wallSeconds();
    const double processorStart = processorSeconds();
    while (wallSeconds() - start < seconds) {
        if (pacing == Pacing::handLimiter)
            limiter.wait();
        manager.enterRenderLoop();
        manager.renderFunc();
    }
    const double processor = processorSeconds() - processorStart;
    manager.destroyOpenGL();
    sample.add(starts, processor);
}

} // namespace

int main(int argc, char** argv) {
    int rounds = 3;
    double seconds = 2.0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(0.2, std::atof(argv[i + 1]));
    }
    LiveWindow window(320, 240);
#if defined(_WIN32)
    const char* system = runningUnderWine() ? "Wine" : "Windows";
#else
    const char* system = "X11";
#endif
    std::printf("%s, %d rounds of %.1f s per way and rate, pooled\n", system, rounds, seconds);
    printPacingHeader();
    for (unsigned int fps : {30u, 60u, 100u, 144u}) {
        PacingSample samples[3];
        for (int round = 0; round < rounds; ++round)
            for (int i = 0; i < 3; ++i) {
                const int way = (round + i) % 3;
                run(window, fps, static_cast<Pacing>(way), seconds, samples[way]);
            }
        for (int way = 0; way < 3; ++way)
            printPacingRow(fps, kNames[way], pacingFigures(samples[way]));
    }
    return 0;
}
