// Drives the render manager in a tight host loop for a few target rates and prints what the
// pacing achieves: frames per second, the spread of frame intervals, and the processor time the
// loop uses per second of running (low when it sleeps instead of spinning).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "LiveWindow.h"
#include "TestEnvironment.h"
#include "znVelmora.h"

namespace {

using Clock = std::chrono::steady_clock;

double processorSeconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

struct Figures {
    int frames;
    double seconds, processor;
    double meanMs, deviationMs, minMs, maxMs;
};

Figures run(LiveWindow& window, unsigned int fps, double seconds) {
    TestEnvironment env;
    std::vector<Clock::time_point> frameTimes;
    env.drawing = [&] { frameTimes.push_back(Clock::now()); };
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, window.width(), window.height());
    manager.setDestinatedFPS(fps);
    manager.initializeOpenGL();

    const Clock::time_point start = Clock::now();
    const double processorStart = processorSeconds();
    while (Clock::now() - start < std::chrono::duration<double>(seconds)) {
        manager.enterRenderLoop();
        manager.renderFunc();
    }
    Figures figures = {};
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    figures.processor = processorSeconds() - processorStart;
    manager.destroyOpenGL();

    std::vector<double> intervals;
    for (size_t i = 1; i < frameTimes.size(); ++i)
        intervals.push_back(
            std::chrono::duration<double, std::milli>(frameTimes[i] - frameTimes[i - 1]).count());
    figures.frames = static_cast<int>(frameTimes.size());
    if (intervals.empty())
        return figures;
    double sum = 0, squares = 0;
    for (double interval : intervals) {
        sum += interval;
        squares += interval * interval;
    }
    figures.meanMs = sum / intervals.size();
    figures.deviationMs =
        std::sqrt(std::max(0.0, squares / intervals.size() - figures.meanMs * figures.meanMs));
    figures.minMs = *std::min_element(intervals.begin(), intervals.end());
    figures.maxMs = *std::max_element(intervals.begin(), intervals.end());
    return figures;
}

} // namespace

int main() {
    LiveWindow window(320, 240);
    const double seconds = 2.0;
    std::printf("%-6s %-7s %-8s %-9s %-22s %-12s\n", "target", "frames", "rate", "predicted",
                "interval ms mean/sd", "min..max ms");
    for (unsigned int fps : {30u, 50u, 60u, 100u}) {
        const Figures f = run(window, fps, seconds);
        // A frame starts once the elapsed whole milliseconds plus 2 reach the interval, so the
        // loop sleeps to about interval - 2 ms after the previous frame, plus the frame's work.
        const int interval = 1000 / static_cast<int>(fps);
        std::printf("%-6u %-7d %-8.1f %-9.1f %6.2f / %-13.2f %5.2f..%-6.2f cpu %.1f%%\n", fps,
                    f.frames, f.frames / f.seconds, 1000.0 / (interval - 2), f.meanMs,
                    f.deviationMs, f.minMs, f.maxMs, 100.0 * f.processor / f.seconds);
    }
    return 0;
}
