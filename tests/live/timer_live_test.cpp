#include <chrono>
#include <thread>

#include "LiveTest.h"
#include "znVelmora.h"

namespace {

TEST(LiveTimer, MeasuresRealTimeFromTheSystemCounter) {
    znVelmora::znHiResTimer timer;
    ASSERT_TRUE(timer.initializeTimer());
    EXPECT_GT(timer.frequency.QuadPart, 0);
    long long previous = timer.startCount.QuadPart;
    for (int reading = 0; reading < 10000; ++reading) {
        timer.performCounter();
        ASSERT_GE(timer.currentCount.QuadPart, previous);
        previous = timer.currentCount.QuadPart;
    }
    timer.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    timer.performCounter();
    // Lower bounds only: a loaded machine may sleep far longer.
    EXPECT_GE(timer.getElapsedSeconds(), 0.020f);
    EXPECT_GE(timer.elapsedTimeinMSSinceLastRender(), 21u);
    EXPECT_GT(timer.getFPS(), 0.0f);
}

} // namespace
