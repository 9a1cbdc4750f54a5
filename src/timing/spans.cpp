#include "timing/spans.h"

#include <limits>

namespace zn {

int64_t counterSpan(int64_t current, int64_t last) {
    int64_t span = 0;
    if (!__builtin_sub_overflow(current, last, &span))
        return span;
    return current > last ? std::numeric_limits<int64_t>::max()
                          : std::numeric_limits<int64_t>::min();
}

int64_t spanMilliseconds(int64_t span, int64_t frequency) {
    if (frequency == 0)
        return 0;
    // The product comes first, as the counter's own resolution demands for short spans.
    const double quotient = static_cast<double>(span) * 1000.0 / static_cast<double>(frequency);
    const double limit = 9223372036854775808.0; // 2^63
    if (quotient >= limit)
        return std::numeric_limits<int64_t>::max();
    if (quotient < -limit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(quotient);
}

double spanSeconds(int64_t span, int64_t frequency) {
    if (frequency == 0)
        return 0.0;
    return static_cast<double>(span) / static_cast<double>(frequency);
}

double spanRate(int64_t span, int64_t frequency) {
    if (frequency == 0 || span == 0)
        return 0.0;
    return static_cast<double>(frequency) / static_cast<double>(span);
}

} // namespace zn
