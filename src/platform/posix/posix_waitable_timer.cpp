// Waitable timers and winmm's timer periods over CLOCK_MONOTONIC.
//  - CreateWaitableTimerExW / SetWaitableTimer / WaitForSingleObject / CloseHandle: a timer is a
//    due time on CLOCK_MONOTONIC; a wait is clock_nanosleep to it, so every timer has high
//    resolution. Only one-shot timers without a completion routine are offered: a period or a
//    routine is refused. WaitForSingleObject knows timers only; an unset timer waited on without
//    a timeout fails where Windows would block for ever.
//  - timeBeginPeriod / timeEndPeriod: the clock is already fine-grained, so a period changes
//    nothing; they keep the pairing rule (an end without its begin is refused) and refuse 0.
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <time.h>

#include "platform/win32api.h"

namespace {

const long long kNanosecondsPerSecond = 1000000000LL;
// From 1601-01-01 (Windows' absolute times) to 1970-01-01, in 100 ns units.
const long long kEpochDifference = 116444736000000000LL;

long long clockNow(clockid_t clock) {
    timespec now;
    clock_gettime(clock, &now);
    return now.tv_sec * kNanosecondsPerSecond + now.tv_nsec;
}

struct Timer {
    bool set = false;
    long long due = 0; // CLOCK_MONOTONIC, nanoseconds
};

struct Timers {
    std::mutex mutex;
    std::map<HANDLE, std::unique_ptr<Timer>> live;
    std::map<UINT, int> periods;
};

Timers& timers() {
    static Timers all;
    return all;
}

void sleepUntil(long long due) {
    const timespec at{static_cast<time_t>(due / kNanosecondsPerSecond),
                      static_cast<long>(due % kNanosecondsPerSecond)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

} // namespace

HANDLE CreateWaitableTimerExW(void* /*attributes*/, const wchar_t* /*name*/, DWORD /*flags*/,
                              DWORD /*access*/) {
    auto timer = std::make_unique<Timer>();
    HANDLE handle = timer.get();
    std::lock_guard<std::mutex> lock(timers().mutex);
    timers().live[handle] = std::move(timer);
    return handle;
}

BOOL SetWaitableTimer(HANDLE handle, const LARGE_INTEGER* due, LONG period, void* completion,
                      void* /*argument*/, BOOL /*resume*/) {
    std::lock_guard<std::mutex> lock(timers().mutex);
    auto found = timers().live.find(handle);
    if (found == timers().live.end() || !due || period != 0 || completion)
        return FALSE;
    // Negative: relative, in 100 ns units; positive: absolute system time since 1601.
    const long long units = due->QuadPart;
    found->second->due = units < 0 ? clockNow(CLOCK_MONOTONIC) - units * 100
                                   : clockNow(CLOCK_MONOTONIC) + ((units - kEpochDifference) * 100 -
                                                                  clockNow(CLOCK_REALTIME));
    found->second->set = true;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    long long due = 0;
    bool timesOut = false;
    {
        std::lock_guard<std::mutex> lock(timers().mutex);
        auto found = timers().live.find(handle);
        if (found == timers().live.end() || (!found->second->set && milliseconds == INFINITE))
            return WAIT_FAILED;
        due = found->second->due;
        if (milliseconds != INFINITE) {
            const long long limit =
                clockNow(CLOCK_MONOTONIC) + static_cast<long long>(milliseconds) * 1000000;
            timesOut = !found->second->set || limit < due;
            if (timesOut)
                due = limit;
        }
    }
    sleepUntil(due);
    if (timesOut)
        return WAIT_TIMEOUT;
    std::lock_guard<std::mutex> lock(timers().mutex);
    auto found = timers().live.find(handle);
    if (found != timers().live.end())
        found->second->set = false; // a synchronisation timer resets on a successful wait
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
    std::lock_guard<std::mutex> lock(timers().mutex);
    return timers().live.erase(handle) ? TRUE : FALSE;
}

MMRESULT timeBeginPeriod(UINT milliseconds) {
    if (milliseconds == 0)
        return TIMERR_NOCANDO;
    std::lock_guard<std::mutex> lock(timers().mutex);
    ++timers().periods[milliseconds];
    return TIMERR_NOERROR;
}

MMRESULT timeEndPeriod(UINT milliseconds) {
    std::lock_guard<std::mutex> lock(timers().mutex);
    auto found = timers().periods.find(milliseconds);
    if (found == timers().periods.end())
        return TIMERR_NOCANDO;
    if (--found->second == 0)
        timers().periods.erase(found);
    return TIMERR_NOERROR;
}
