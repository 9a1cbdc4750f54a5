#include "timing/znFramePacer.h"

namespace {

// Whole-millisecond sleeps stop this far before the deadline: with a 1 ms timer period a
// Windows sleep may end up to a tick late. They serve only where no high-resolution timer is.
const long long kSleepMarginMs = 2;

long long counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

HANDLE openTimer(bool& highResolution) {
    highResolution = true;
    if (HANDLE timer = CreateWaitableTimerExW(
            nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS))
        return timer;
    // Before Windows 10 1803: a timer that fires on the first tick after its due time.
    highResolution = false;
    return CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
}

} // namespace

znFramePacer::znFramePacer()
    : highResolution(false), timer(openTimer(highResolution)),
      periodAsked(timeBeginPeriod(1) == TIMERR_NOERROR), started(false), rate(0), frequency(0),
      origin(0), slot(0), lastDeadline(0) {}

znFramePacer::~znFramePacer() {
    if (periodAsked)
        timeEndPeriod(1);
    if (timer)
        CloseHandle(timer);
}

long long znFramePacer::deadline(long long index) const {
    // Rounded up, so that a frame never starts before its time.
    return origin + (index * frequency + rate - 1) / rate;
}

void znFramePacer::awaitFrame(unsigned int newRate, long long newFrequency) {
    if (newRate == 0) {
        started = false;
        return;
    }
    if (newFrequency <= 0) {
        Sleep(1000 / newRate);
        return;
    }
    const long long now = counterNow();
    if (!started) {
        origin = now;
        slot = 0;
    } else if (newRate != rate || newFrequency != frequency) {
        // The next frame comes one new interval after the last one.
        origin = lastDeadline;
        slot = 1;
    }
    started = true;
    rate = newRate;
    frequency = newFrequency;
    const long long due = deadline(slot);
    if (now < due) {
        waitUntil(due);
        lastDeadline = due;
        ++slot;
    } else {
        // Late: this frame takes the slots that have passed; the next one is the first ahead.
        // Whole seconds apart first, so that a long stall cannot overflow the product.
        const long long late = now - origin;
        const long long passed = late / frequency * rate + late % frequency * rate / frequency;
        lastDeadline = deadline(passed);
        slot = passed + 1;
    }
    // Whole seconds of slots move into the origin, so the products stay small.
    origin += slot / rate * frequency;
    slot %= rate;
}

void znFramePacer::waitUntil(long long due) {
    for (long long remaining = due - counterNow(); remaining > 0; remaining = due - counterNow()) {
        const long long milliseconds = remaining * 1000 / frequency;
        // A high-resolution timer ends on time, so it serves the whole wait with one wake-up.
        if ((timer && highResolution) || milliseconds <= kSleepMarginMs) {
            finalWait(remaining);
            return;
        }
        Sleep(static_cast<DWORD>(milliseconds - kSleepMarginMs));
    }
}

void znFramePacer::finalWait(long long remaining) {
    // In 100 ns units, rounded up; negative for a time relative to now.
    LARGE_INTEGER due;
    due.QuadPart = -((remaining * 10000000 + frequency - 1) / frequency);
    if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) &&
        WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0)
        return;
    // Without a timer, the nearest the system offers: whole milliseconds, rounded up.
    Sleep(static_cast<DWORD>((remaining * 1000 + frequency - 1) / frequency));
}
