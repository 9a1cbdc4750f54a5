// The high-resolution timer behind the C interface.
#include "capi/boundary.h"
#include "znVelmora.h"

struct znvTimer {
    znVelmora::znHiResTimer timer;
};

namespace {

// Runs an operation on the timer; null handles are refused.
template <class Operation> znvResult onTimer(znvTimer* timer, Operation operation) {
    return zn::c::onHeld(timer, &znvTimer::timer, operation);
}

} // namespace

znvResult ZNCALL znvTimer_create(znvTimer** timer) {
    return zn::c::create(timer);
}

znvResult ZNCALL znvTimer_destroy(znvTimer* timer) {
    return onTimer(timer, [&](znVelmora::znHiResTimer&) { delete timer; });
}

znvResult ZNCALL znvTimer_initializeTimer(znvTimer* timer, int* available) {
    if (!available)
        return ZNV_INVALID_ARGUMENT;
    return onTimer(timer, [&](znVelmora::znHiResTimer& t) { *available = t.initializeTimer(); });
}

znvResult ZNCALL znvTimer_performCounter(znvTimer* timer) {
    return onTimer(timer, [](znVelmora::znHiResTimer& t) { t.performCounter(); });
}

znvResult ZNCALL znvTimer_reset(znvTimer* timer) {
    return onTimer(timer, [](znVelmora::znHiResTimer& t) { t.reset(); });
}

znvResult ZNCALL znvTimer_getElapsedSeconds(znvTimer* timer, float* seconds) {
    if (!seconds)
        return ZNV_INVALID_ARGUMENT;
    return onTimer(timer, [&](znVelmora::znHiResTimer& t) { *seconds = t.getElapsedSeconds(); });
}

znvResult ZNCALL znvTimer_getFPS(znvTimer* timer, float* fps) {
    if (!fps)
        return ZNV_INVALID_ARGUMENT;
    return onTimer(timer, [&](znVelmora::znHiResTimer& t) { *fps = t.getFPS(); });
}

znvResult ZNCALL znvTimer_elapsedTimeinMSSinceLastRender(znvTimer* timer,
                                                         unsigned int* milliseconds) {
    if (!milliseconds)
        return ZNV_INVALID_ARGUMENT;
    return onTimer(timer, [&](znVelmora::znHiResTimer& t) {
        *milliseconds = static_cast<unsigned int>(t.elapsedTimeinMSSinceLastRender());
    });
}
