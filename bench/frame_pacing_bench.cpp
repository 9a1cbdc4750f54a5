// Drives the render manager in a tight host loop at 30, 60, 100 and 144 frames per second and
// prints what each way of pacing achieves: the library's default rule, its precise pacing, and
// a hand-written limiter in the host's loop (an absolute schedule slept out with
// clock_nanosleep) around unpaced library frames. For each: the mean rate, the median, standard
// deviation and 99th percentile of the frame intervals, and the processor time per second of
// running. The ways take turns, each round starting with the next one, and the figures pool the
// rounds. bench/frame_pacing_tick_bench shows the same on the modelled Windows timer tick.
//   frame_pacing_bench [--rounds N] [--seconds S]
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "LiveWindow.h"
#include "TestEnvironment.h"
#include "pacing_figures.h"
#include "znVelmora.h"

namespace {

double clockSeconds(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

enum class Pacing { defaultRule, precise, handLimiter };
const char* const kNames[] = {"default rule", "precise", "hand nanosleep limiter"};

// What a host writes by hand: frame k at start + k / fps, slept out with clock_nanosleep; a
// frame that comes late moves the schedule to now.
class HandLimiter {
  public:
    explicit HandLimiter(unsigned int fps) : interval(1000000000LL / fps) {}
    void wait() {
        const long long now = nanoseconds();
        next = next == 0 ? now : next + interval;
        if (next < now) {
            next = now;
            return;
        }
        const timespec at{static_cast<time_t>(next / 1000000000LL),
                          static_cast<long>(next % 1000000000LL)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
        }
    }

  private:
    static long long nanoseconds() {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        return now.tv_sec * 1000000000LL + now.tv_nsec;
    }
    long long interval;
    long long next = 0;
};

void run(LiveWindow& window, unsigned int fps, Pacing pacing, double seconds,
         PacingSample& sample) {
    TestEnvironment env;
    std::vector<double> starts;
    env.drawing = [&] { starts.push_back(clockSeconds(CLOCK_MONOTONIC)); };
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, window.width(), window.height());
    manager.setDestinatedFPS(pacing == Pacing::handLimiter ? 0 : fps);
    manager.setPrecisePacing(pacing == Pacing::precise);
    manager.initializeOpenGL();
    HandLimiter limiter(fps);
    const double start = clockSeconds(CLOCK_MONOTONIC);
    const double processorStart = clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    while (clockSeconds(CLOCK_MONOTONIC) - start < seconds) {
        if (pacing == Pacing::handLimiter)
            limiter.wait();
        manager.enterRenderLoop();
        manager.renderFunc();
    }
    const double processor = clockSeconds(CLOCK_PROCESS_CPUTIME_ID) - processorStart;
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
    std::printf("X11, %d rounds of %.1f s per way and rate, pooled\n", rounds, seconds);
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
