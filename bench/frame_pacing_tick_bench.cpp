// The pacing benchmark on the recording platform with Windows' timer tick modelled (15.625 ms,
// or 1 ms while a timeBeginPeriod(1) is outstanding): what the default rule, precise pacing
// (with and without a high-resolution waitable timer) and a hand-written limiter that sleeps
// out an absolute schedule with Sleep do on real Windows, where Sleep rounds up to the tick.
// Each frame's drawing takes 2 ms of the modelled clock; processor time is that work, since
// no way of pacing here spins. Figures are exact for the model, so one run of 10 modelled
// seconds per way suffices.
#include <cstdio>
#include <vector>

#include "TestEnvironment.h"
#include "pacing_figures.h"
#include "platform/win32api.h"
#include "znRecord.h"
#include "znVelmora.h"

namespace {

const long long kFrequency = 10000000;
const long long kWork = 2 * kFrequency / 1000;
const double kSeconds = 10.0;

enum class Pacing { defaultRule, precise, preciseWithoutHighResolution, handLimiter };
const char* const kNames[] = {"default rule", "precise", "precise, no hi-res timer",
                              "hand Sleep limiter"};

double seconds(long long count) {
    return double(count) / kFrequency;
}

// A host's limiter as written for Windows: frame k at start + k / fps, the rest of the wait
// slept in whole milliseconds (rounded up); a late frame moves the schedule to now.
void handLimiterWait(long long& next, unsigned int fps) {
    const long long now = znRecord::counter();
    next = next == 0 ? now : next + kFrequency / fps;
    if (next <= now) {
        next = now;
        return;
    }
    Sleep(static_cast<DWORD>((next - now) * 1000 / kFrequency + 1));
}

PacingFigures run(unsigned int fps, Pacing pacing) {
    znRecord::reset();
    znRecord::setCounterFrequency(kFrequency);
    znRecord::modelTimerTick(true);
    if (pacing == Pacing::preciseWithoutHighResolution)
        znRecord::removeHighResolutionTimer();
    TestEnvironment env;
    std::vector<double> starts;
    env.drawing = [&] {
        starts.push_back(seconds(znRecord::counter()));
        znRecord::advanceCounter(kWork);
    };
    znVelmora manager(reinterpret_cast<HWND>(0x10), &env);
    manager.setWindowSize(0, 0, 320, 240);
    manager.setDestinatedFPS(pacing == Pacing::handLimiter ? 0 : fps);
    manager.setPrecisePacing(pacing == Pacing::precise ||
                             pacing == Pacing::preciseWithoutHighResolution);
    manager.initializeOpenGL();
    long long next = 0;
    const long long end = znRecord::counter() + static_cast<long long>(kSeconds * kFrequency);
    while (znRecord::counter() < end) {
        if (pacing == Pacing::handLimiter)
            handLimiterWait(next, fps);
        manager.enterRenderLoop();
        manager.renderFunc();
        znRecord::clearCalls(); // the log would only grow
    }
    manager.destroyOpenGL();
    PacingSample sample;
    sample.add(starts, seconds(kWork) * starts.size());
    return pacingFigures(sample);
}

} // namespace

int main() {
    std::printf("modelled Windows timer tick (recording platform), 2 ms of work a frame, %.0f s\n",
                kSeconds);
    printPacingHeader();
    for (unsigned int fps : {30u, 60u, 100u, 144u})
        for (int way = 0; way < 4; ++way)
            printPacingRow(fps, kNames[way], run(fps, static_cast<Pacing>(way)));
    return 0;
}
