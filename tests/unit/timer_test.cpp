#include <cstdint>
#include <limits>
#include <utility>

#include "RecordTest.h"
#include "znVelmora.h"

namespace {

using Timer = znVelmora::znHiResTimer;

class HiResTimer : public RecordTest {
  protected:
    // A timer at 1000 counts per second whose span is `counts`.
    Timer spanOf(long long counts, long long frequency = 1000) {
        znRecord::setCounterFrequency(frequency);
        znRecord::setCounter(5000);
        Timer timer;
        EXPECT_TRUE(timer.initializeTimer());
        znRecord::advanceCounter(counts);
        timer.performCounter();
        return timer;
    }
};

TEST_F(HiResTimer, FiguresForSpansAtOneThousandCountsPerSecond) {
    EXPECT_EQ(spanOf(0).elapsedTimeinMSSinceLastRender(), 1u);
    EXPECT_EQ(spanOf(1).elapsedTimeinMSSinceLastRender(), 2u);
    EXPECT_EQ(spanOf(1500).elapsedTimeinMSSinceLastRender(), 1501u);
    EXPECT_FLOAT_EQ(spanOf(0).getElapsedSeconds(), 0.0f);
    EXPECT_FLOAT_EQ(spanOf(1).getElapsedSeconds(), 0.001f);
    EXPECT_FLOAT_EQ(spanOf(1500).getElapsedSeconds(), 1.5f);
    EXPECT_FLOAT_EQ(spanOf(20).getFPS(), 50.0f);
}

TEST_F(HiResTimer, MillisecondsMultiplyBeforeDividingAndTruncateTowardZero) {
    // 3 counts at 3000 per second: 3 * 1000 / 3000 is exactly 1; 3 / 3000 * 1000 is not.
    EXPECT_EQ(spanOf(3, 3000).elapsedTimeinMSSinceLastRender(), 2u);
    // A negative span of less than a millisecond truncates to 0.
    EXPECT_EQ(spanOf(-999, 1000000).elapsedTimeinMSSinceLastRender(), 1u);
    EXPECT_EQ(spanOf(-2500, 1000000).elapsedTimeinMSSinceLastRender(), 0xFFFFFFFFu);
}

TEST_F(HiResTimer, ResetStartsTheNextSpanAtTheLatestReading) {
    Timer timer = spanOf(40);
    timer.reset();
    EXPECT_FLOAT_EQ(timer.getElapsedSeconds(), 0.0f);
    EXPECT_EQ(timer.elapsedTimeinMSSinceLastRender(), 1u);
    znRecord::advanceCounter(10);
    timer.performCounter();
    EXPECT_FLOAT_EQ(timer.getFPS(), 100.0f);
}

TEST_F(HiResTimer, CopiesAdvanceIndependently) {
    Timer source = spanOf(7);
    Timer copy(source);
    EXPECT_EQ(copy.startCount.QuadPart, source.startCount.QuadPart);
    EXPECT_EQ(copy.lastCount.QuadPart, source.lastCount.QuadPart);
    EXPECT_EQ(copy.currentCount.QuadPart, source.currentCount.QuadPart);
    EXPECT_EQ(copy.frequency.QuadPart, source.frequency.QuadPart);
    znRecord::advanceCounter(100);
    copy.performCounter();
    EXPECT_EQ(source.currentCount.QuadPart, 5007);
    EXPECT_EQ(copy.currentCount.QuadPart, 5107);
    Timer assigned;
    assigned = copy;
    EXPECT_EQ(assigned.currentCount.QuadPart, 5107);
}

TEST_F(HiResTimer, InitializeReadsFrequencyThenStartAndLeavesTheLatestReading) {
    znRecord::setCounter(300);
    Timer timer;
    timer.currentCount.QuadPart = 100;
    ASSERT_TRUE(timer.initializeTimer());
    EXPECT_EQ(znRecord::callTexts(),
              (Texts{"QueryPerformanceFrequency()", "QueryPerformanceCounter()"}));
    EXPECT_EQ(timer.startCount.QuadPart, 300);
    EXPECT_EQ(timer.lastCount.QuadPart, 300);
    // Queried at once, the span runs back to the old latest reading.
    EXPECT_FLOAT_EQ(timer.getElapsedSeconds(), -0.2f);
}

TEST_F(HiResTimer, WithoutACounterInitializeFailsAndKeepsTheReadings) {
    znRecord::setCounterFrequency(0);
    Timer timer;
    timer.startCount.QuadPart = 1;
    timer.lastCount.QuadPart = 2;
    timer.currentCount.QuadPart = 3;
    EXPECT_FALSE(timer.initializeTimer());
    EXPECT_EQ(znRecord::callTexts(), Texts{"QueryPerformanceFrequency()"});
    EXPECT_EQ(timer.startCount.QuadPart, 1);
    EXPECT_EQ(timer.lastCount.QuadPart, 2);
    EXPECT_EQ(timer.currentCount.QuadPart, 3);
    EXPECT_EQ(timer.frequency.QuadPart, 0);
}

TEST_F(HiResTimer, ZeroFrequencyAndZeroSpanGiveDefinedFigures) {
    Timer unstarted;
    unstarted.currentCount.QuadPart = 123456;
    EXPECT_EQ(unstarted.elapsedTimeinMSSinceLastRender(), 1u);
    EXPECT_EQ(unstarted.getElapsedSeconds(), 0.0f);
    EXPECT_EQ(unstarted.getFPS(), 0.0f);
    EXPECT_EQ(spanOf(0).getFPS(), 0.0f);
}

TEST_F(HiResTimer, SpansBeyondSixtyFourBitMillisecondsSaturate) {
    Timer timer;
    timer.frequency.QuadPart = 1;
    timer.currentCount.QuadPart = std::numeric_limits<int64_t>::max();
    // INT64_MAX + 1 wraps to the low 32 bits of 2^63: 0.
    EXPECT_EQ(timer.elapsedTimeinMSSinceLastRender(), 0u);
    timer.currentCount.QuadPart = std::numeric_limits<int64_t>::min() + 1;
    EXPECT_EQ(timer.elapsedTimeinMSSinceLastRender(), 1u);

    // Readings further apart than 64 bits reach: the span itself is held at the limit.
    timer.currentCount.QuadPart = std::numeric_limits<int64_t>::max();
    timer.lastCount.QuadPart = -2;
    EXPECT_EQ(timer.elapsedTimeinMSSinceLastRender(), 0u);
    EXPECT_FLOAT_EQ(timer.getElapsedSeconds(), 9.2233720e18f);
    EXPECT_GT(timer.getFPS(), 0.0f);
    std::swap(timer.currentCount, timer.lastCount);
    EXPECT_EQ(timer.elapsedTimeinMSSinceLastRender(), 1u);
    EXPECT_FLOAT_EQ(timer.getElapsedSeconds(), -9.2233720e18f);
}

} // namespace
