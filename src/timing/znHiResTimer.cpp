#include "znVelmora.h"

#include "platform/win32api.h"
#include "timing/spans.h"

using Timer = znVelmora::znHiResTimer;

namespace {

int64_t span(const Timer& timer) {
    return zn::counterSpan(timer.currentCount.QuadPart, timer.lastCount.QuadPart);
}

} // namespace

Timer::znHiResTimer() : startCount(), lastCount(), currentCount(), frequency() {}
Timer::~znHiResTimer() {}
Timer::znHiResTimer(const znHiResTimer& other) = default;
Timer& Timer::operator=(const znHiResTimer& other) = default;

bool Timer::initializeTimer() {
    if (!QueryPerformanceFrequency(&frequency))
        return false;
    QueryPerformanceCounter(&startCount);
    lastCount = startCount;
    return true;
}

void Timer::performCounter() {
    QueryPerformanceCounter(&currentCount);
}

void Timer::reset() {
    lastCount = currentCount;
}

float Timer::getElapsedSeconds() const {
    return static_cast<float>(zn::spanSeconds(span(*this), frequency.QuadPart));
}

float Timer::getFPS() const {
    return static_cast<float>(zn::spanRate(span(*this), frequency.QuadPart));
}

unsigned long Timer::elapsedTimeinMSSinceLastRender() const {
    const uint64_t ms =
        static_cast<uint64_t>(zn::spanMilliseconds(span(*this), frequency.QuadPart));
    return static_cast<uint32_t>(ms + 1);
}
