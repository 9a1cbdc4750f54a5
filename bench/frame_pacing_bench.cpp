// Drives the render manager in a tight host loop at 30, 60, 100 and 144 frames per second and
// prints what each way of pacing achieves: the library's default rule, its precise pacing, and
// a hand-written limiter in the host's loop (an absolute schedule slept out with
// clock_nanosleep, or on Windows a high-resolution waitable timer) around unpaced library
// frames; and, as the floor the system sets, the limiter's sleep alone with no frame drawn. For
// each: the mean rate, the median, standard deviation and 99th percentile of the
// frame intervals, and the processor time per second of running. The ways take turns, each
// round starting with the next one; each figure is the median of the rounds', and the range of
// the rounds' standard deviations stands beside it. bench/frame_pacing_tick_bench shows the same
// on the modelled Windows timer tick.
//   frame_pacing_bench [--rounds N] [--seconds S]
#include <chrono>
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

enum class Pacing { defaultRule, precise, handLimiter, sleepAlone };
const char* const kNames[] = {"default rule", "precise", "hand limiter", "sleep alone, no frame"};
const int kWays = 4;

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

PacingFigures run(LiveWindow& window, unsigned int fps, Pacing pacing, double seconds) {
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
        if (pacing == Pacing::handLimiter || pacing == Pacing::sleepAlone)
            limiter.wait();
        if (pacing == Pacing::sleepAlone) {
            starts.push_back(wallSeconds());
            continue;
        }
        manager.enterRenderLoop();
        manager.renderFunc();
    }
    const double processor = processorSeconds() - processorStart;
    manager.destroyOpenGL();
    PacingSample sample;
    sample.add(starts, processor);
    return pacingFigures(sample);
}

} // namespace

int main(int argc, char** argv) {
    const Rounds rounds = readRounds(argc, argv, {5, 5.0}, 0.2);
    LiveWindow window(320, 240);
#if defined(_WIN32)
    const char* system = runningUnderWine() ? "Wine" : "Windows";
#else
    const char* system = "X11";
#endif
    std::printf("%s, %d interleaved rounds of %.1f s per way and rate, medians of the rounds\n",
                system, rounds.count, rounds.seconds);
    printPacingHeader();
    for (unsigned int fps : {30u, 60u, 100u, 144u}) {
        std::vector<PacingFigures> figures[kWays];
        for (int round = 0; round < rounds.count; ++round)
            for (int i = 0; i < kWays; ++i) {
                const int way = (round + i) % kWays;
                figures[way].push_back(run(window, fps, static_cast<Pacing>(way), rounds.seconds));
            }
        for (int way = 0; way < kWays; ++way)
            printPacingRow(fps, kNames[way], medianOfRounds(figures[way]));
    }
    return 0;
}
