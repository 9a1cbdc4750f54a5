// Arithmetic on spans of the performance counter, shared by the timer and the frame loop.
// Every result is defined: a frequency of 0 yields 0, and milliseconds saturate instead of
// overflowing the 64-bit conversion.
#pragma once

#include <cstdint>

namespace zn {

// current - last, held at the largest (or smallest) 64-bit value where readings lie further
// apart than that: the readings are public and a counter may wrap.
int64_t counterSpan(int64_t current, int64_t last);

// span * 1000 / frequency in double precision, truncated toward zero.
int64_t spanMilliseconds(int64_t span, int64_t frequency);
// span / frequency.
double spanSeconds(int64_t span, int64_t frequency);
// frequency / span: frames per second when the span is one frame; 0 when either is 0.
double spanRate(int64_t span, int64_t frequency);

} // namespace zn
