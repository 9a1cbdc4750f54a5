// The recording platform's waits: Sleep, waitable timers and winmm's timer periods. The clock
// is the scripted counter; a wait moves it to the time the wait would end. With the tick
// modelled, Windows' rule applies: a wait ends on the first system timer tick at or after the
// time asked, the tick being 15.625 ms unless timeBeginPeriod asked for a finer one.
#include <algorithm>
#include <cmath>

#include "record_state.h"

using namespace znRecord::detail;

namespace {

const long double kDefaultTickMicroseconds = 15625.0L;

long double microseconds(long long count) {
    return static_cast<long double>(count) * 1e6L / static_cast<long double>(state().frequency);
}

long long countAt(long double microseconds) {
    // The first reading at or after the time; the epsilon absorbs the conversion's rounding.
    return static_cast<long long>(
        std::ceil(microseconds * static_cast<long double>(state().frequency) / 1e6L - 1e-6L));
}

long double tickMicroseconds() {
    const auto& periods = state().timerPeriods;
    return periods.empty() ? kDefaultTickMicroseconds : *periods.begin() * 1000.0L;
}

// Moves the clock to the reading `due`, or on to the next tick after it when the wait is tied
// to the tick.
void waitUntil(long long due, bool onTick) {
    State& s = state();
    if (s.frequency <= 0 || due <= s.count)
        return;
    if (!s.tickModelled || !onTick) {
        s.count = due;
        return;
    }
    const long double tick = tickMicroseconds();
    s.count = std::max(due, countAt(std::ceil(microseconds(due) / tick - 1e-9L) * tick));
}

long long countAfterMilliseconds(DWORD milliseconds) {
    return state().count + countAt(static_cast<long double>(milliseconds) * 1000.0L);
}

} // namespace

void Sleep(DWORD milliseconds) {
    logCall("Sleep", milliseconds);
    if (!state().tickModelled) {
        state().count += static_cast<long long>(milliseconds) * state().frequency / 1000;
        return;
    }
    // Sleep(0) only gives up the rest of the time slice.
    if (milliseconds > 0)
        waitUntil(countAfterMilliseconds(milliseconds), true);
}

HANDLE CreateWaitableTimerExW(void* /*attributes*/, const wchar_t* /*name*/, DWORD flags,
                              DWORD access) {
    logCall("CreateWaitableTimerExW", Hex{flags}, Hex{access});
    const bool highResolution = (flags & CREATE_WAITABLE_TIMER_HIGH_RESOLUTION) != 0;
    if (fails("CreateWaitableTimerExW") || (highResolution && !state().highResolutionTimers))
        return nullptr;
    HANDLE timer = reinterpret_cast<HANDLE>(state().nextTimer++);
    state().timers[timer] = WaitableTimer{highResolution, false, 0};
    return timer;
}

BOOL SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due, LONG period, void* /*completion*/,
                      void* /*argument*/, BOOL /*resume*/) {
    logCall("SetWaitableTimer", timer, due ? due->QuadPart : 0LL, static_cast<long>(period));
    auto found = state().timers.find(timer);
    if (fails("SetWaitableTimer") || found == state().timers.end() || !due)
        return FALSE;
    // Negative: 100 ns units from now; positive: 100 ns units from the counter's zero.
    const long double units =
        static_cast<long double>(due->QuadPart < 0 ? -due->QuadPart : due->QuadPart);
    const long long base = due->QuadPart < 0 ? state().count : 0;
    found->second.due = base + countAt(units / 10.0L);
    found->second.set = true;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    logCall("WaitForSingleObject", object, milliseconds);
    auto found = state().timers.find(object);
    // A wait that would never end fails instead of hanging the test.
    if (fails("WaitForSingleObject") || found == state().timers.end() ||
        (!found->second.set && milliseconds == INFINITE))
        return WAIT_FAILED;
    WaitableTimer& timer = found->second;
    if (milliseconds != INFINITE &&
        (!timer.set || countAfterMilliseconds(milliseconds) < timer.due)) {
        waitUntil(countAfterMilliseconds(milliseconds), true);
        return WAIT_TIMEOUT;
    }
    waitUntil(timer.due, !timer.highResolution);
    timer.set = false;
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE object) {
    logCall("CloseHandle", object);
    return !fails("CloseHandle") && state().timers.erase(object) ? TRUE : FALSE;
}

MMRESULT timeBeginPeriod(UINT milliseconds) {
    logCall("timeBeginPeriod", milliseconds);
    if (fails("timeBeginPeriod") || milliseconds == 0)
        return TIMERR_NOCANDO;
    state().timerPeriods.insert(milliseconds);
    return TIMERR_NOERROR;
}

MMRESULT timeEndPeriod(UINT milliseconds) {
    logCall("timeEndPeriod", milliseconds);
    auto found = state().timerPeriods.find(milliseconds);
    // Windows refuses to end a period that no timeBeginPeriod asked for.
    if (fails("timeEndPeriod") || found == state().timerPeriods.end())
        return TIMERR_NOCANDO;
    state().timerPeriods.erase(found);
    return TIMERR_NOERROR;
}

namespace znRecord {

void modelTimerTick(bool modelled) {
    state().tickModelled = modelled;
}
void removeHighResolutionTimer() {
    state().highResolutionTimers = false;
}
std::vector<unsigned int> timerPeriods() {
    return std::vector<unsigned int>(state().timerPeriods.begin(), state().timerPeriods.end());
}
int liveTimers() {
    return static_cast<int>(state().timers.size());
}

} // namespace znRecord
