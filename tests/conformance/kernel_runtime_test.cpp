// The performance counter, Sleep and the runtime's case-insensitive comparison.
#include <climits>

#include "Seam.h"

namespace {

using Counters = Seam;
using Runtime = Seam;

long long reading() {
    LARGE_INTEGER count;
    EXPECT_TRUE(QueryPerformanceCounter(&count));
    return count.QuadPart;
}

long long frequency() {
    LARGE_INTEGER counts;
    EXPECT_TRUE(QueryPerformanceFrequency(&counts));
    return counts.QuadPart;
}

TEST_F(Counters, RunAtAFixedPositiveFrequency) {
    const long long first = frequency();
    EXPECT_GT(first, 0);
    EXPECT_EQ(frequency(), first);
}

TEST_F(Counters, NeverGoBack) {
    long long previous = reading();
    for (int i = 0; i < 1000; ++i) {
        const long long now = reading();
        ASSERT_GE(now, previous);
        previous = now;
    }
}

// The counter may move on its own or only when the thread sleeps: either way a sleep moves it
// by at least the time asked.
TEST_F(Counters, SleepLastsAtLeastTheTimeAsked) {
    const long long perSecond = frequency();
    for (DWORD milliseconds : {1u, 20u}) {
        const long long before = reading();
        Sleep(milliseconds);
        const long long after = reading();
        EXPECT_GE((after - before) * 1000, static_cast<long long>(milliseconds) * perSecond)
            << milliseconds << " ms";
    }
    const long long before = reading();
    Sleep(0);
    EXPECT_GE(reading(), before);
}

TEST_F(Runtime, CaseInsensitiveComparisonOrdersLikeLowerCase) {
    EXPECT_EQ(_stricmp("Symbol", "symbol"), 0);
    EXPECT_EQ(_stricmp("SYMBOL", "symbol"), 0);
    EXPECT_EQ(_stricmp("", ""), 0);
    EXPECT_LT(_stricmp("Arial", "symbol"), 0);
    EXPECT_GT(_stricmp("symbols", "SYMBOL"), 0);
    // Letters are compared in lower case, so '_' sorts before them (it sorts after 'A').
    EXPECT_LT(_stricmp("_", "A"), 0);
}

TEST_F(Runtime, AMissingStringComparesAsAnError) {
    // _NLSCMPERROR, without a crash.
    EXPECT_EQ(_stricmp(nullptr, "symbol"), INT_MAX);
    EXPECT_EQ(_stricmp("symbol", nullptr), INT_MAX);
    EXPECT_EQ(_stricmp(nullptr, nullptr), INT_MAX);
}

} // namespace
