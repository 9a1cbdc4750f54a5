// The performance counter as CLOCK_MONOTONIC in nanoseconds, and Sleep as nanosleep.
#include <cerrno>
#include <sched.h>
#include <time.h>

#include "platform/win32api.h"

namespace {

const long long kNanosecondsPerSecond = 1000000000LL;

} // namespace

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency)
        return FALSE;
    frequency->QuadPart = kNanosecondsPerSecond;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    timespec now;
    if (!count || clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        return FALSE;
    count->QuadPart = now.tv_sec * kNanosecondsPerSecond + now.tv_nsec;
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    // Sleep(0) gives up the rest of the time slice.
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    // A signal cuts nanosleep short; Windows sleeps the whole time.
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}
