// Precise pacing's schedule, the modelled Windows timer tick, the timer resources precise pacing
// holds, and the swap-interval setting.
#include <cmath>

#include "ManagerTest.h"
#include "platform/win32api.h"

namespace {

const long long kFrequency = 10000000; // Windows' usual performance-counter rate

class FramePacing : public ManagerTest {
  protected:
    // Starts a manager pacing at `fps` whose frames each take `workMs` of drawing, and records
    // the counter at the start of every frame.
    void startPaced(unsigned int fps, bool precise, double workMs = 1.0) {
        znRecord::setCounterFrequency(kFrequency);
        manager->setDestinatedFPS(fps);
        manager->setPrecisePacing(precise);
        manager->setShowFPS(false);
        env.drawing = [this, workMs] {
            starts.push_back(znRecord::counter());
            znRecord::advanceCounter(static_cast<long long>(workMs * kFrequency / 1000));
            znRecord::advanceCounter(extraWork);
            extraWork = 0;
        };
        startUp();
    }

    void renderFrames(int frames) {
        for (const size_t target = starts.size() + frames; starts.size() < target;)
            manager->renderFunc();
    }

    double meanRate() const {
        return (starts.size() - 1) * double(kFrequency) / double(starts.back() - starts.front());
    }

    std::vector<long long> starts;
    long long extraWork = 0;
};

TEST_F(FramePacing, PreciseFramesKeepAnAbsoluteScheduleWithoutDrift) {
    startPaced(60, true, 3.0);
    renderFrames(1001);
    // Frame k starts on its own deadline, k / 60 s after the first, to the counter's count.
    for (size_t k = 0; k < starts.size(); ++k)
        ASSERT_EQ(starts[k] - starts[0], static_cast<long long>(std::ceil(k * kFrequency / 60.0)))
            << "frame " << k;
}

TEST_F(FramePacing, ALateFrameNeitherShiftsTheScheduleNorCausesABurst) {
    startPaced(100, true);
    renderFrames(5);
    extraWork = 35 * kFrequency / 1000; // frame 5 takes 36 ms instead of 1
    renderFrames(5);
    const long long ms = kFrequency / 1000;
    std::vector<long long> offsets;
    for (long long start : starts)
        offsets.push_back((start - starts[0]) / ms);
    // The frame after the late one starts at once (86 ms), then the schedule goes on from its
    // next deadline, 90 ms, without catching up on the slots that passed.
    EXPECT_EQ(offsets, (std::vector<long long>{0, 10, 20, 30, 40, 50, 86, 90, 100, 110}));
}

TEST_F(FramePacing, TheModelledTickRoundsWaitsUpAndAFinerPeriodShortensIt) {
    znRecord::setCounterFrequency(1000000);
    znRecord::modelTimerTick(true);
    Sleep(1);
    EXPECT_EQ(znRecord::counter(), 15625);
    ASSERT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    Sleep(1); // the first 1 ms tick at or after 16.625 ms
    EXPECT_EQ(znRecord::counter(), 17000);
    // A high-resolution timer ends its wait on time, a plain one on the tick.
    for (DWORD flags : {DWORD(CREATE_WAITABLE_TIMER_HIGH_RESOLUTION), DWORD(0)}) {
        HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, flags, TIMER_ALL_ACCESS);
        LARGE_INTEGER due;
        due.QuadPart = -2500; // 250 us
        ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
        const long long before = znRecord::counter();
        EXPECT_EQ(WaitForSingleObject(timer, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
        EXPECT_EQ(znRecord::counter(), flags ? before + 250 : 18000);
        CloseHandle(timer);
    }
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO));
    Sleep(1);
    EXPECT_EQ(znRecord::counter(), 31250);
}

TEST_F(FramePacing, OnTheWindowsTickTheDefaultRuleFollowsTheTickAndPreciseKeepsTheRate) {
    znRecord::modelTimerTick(true);
    startPaced(100, false);
    renderFrames(101);
    // Each 8 ms sleep lasts to the next 15.625 ms tick: one frame per tick.
    EXPECT_NEAR(meanRate(), 64.0, 0.1);

    starts.clear();
    manager->setPrecisePacing(true);
    renderFrames(101);
    EXPECT_DOUBLE_EQ(meanRate(), 100.0);

    // Without a high-resolution timer a wait ends on the next 1 ms tick: frames start up to a
    // millisecond late, and the schedule still holds the rate.
    manager->setPrecisePacing(false);
    znRecord::removeHighResolutionTimer();
    manager->setPrecisePacing(true);
    starts.clear();
    renderFrames(101);
    EXPECT_NEAR(meanRate(), 100.0, 1.0);
    EXPECT_EQ(znRecord::callsNamed("CreateWaitableTimerExW").back(),
              "CreateWaitableTimerExW(0x0000, 0x1F0003)");
}

TEST_F(FramePacing, PreciseModeHoldsATimerPeriodAndATimerWhileOnAndGivesThemBackInPairs) {
    startPaced(60, false);
    renderFrames(3);
    EXPECT_TRUE(znRecord::callsNamed("timeBeginPeriod").empty()); // the default rule asks none
    manager->setPrecisePacing(true);
    manager->setPrecisePacing(true);
    EXPECT_EQ(znRecord::timerPeriods(), (std::vector<unsigned int>{1}));
    EXPECT_EQ(znRecord::liveTimers(), 1);
    manager->setPrecisePacing(false);
    EXPECT_TRUE(znRecord::timerPeriods().empty());
    EXPECT_EQ(znRecord::liveTimers(), 0);
    // A manager destroyed while pacing precisely gives them back too.
    manager->setPrecisePacing(true);
    renderFrames(3);
    manager->destroyOpenGL();
    manager.reset();
    EXPECT_TRUE(znRecord::timerPeriods().empty());
    EXPECT_EQ(znRecord::liveTimers(), 0);
    EXPECT_EQ(znRecord::callsNamed("timeBeginPeriod"), Texts(2, "timeBeginPeriod(1)"));
    EXPECT_EQ(znRecord::callsNamed("timeEndPeriod"), Texts(2, "timeEndPeriod(1)"));
}

TEST_F(FramePacing, FailedTimerRequestsLeaveNothingToGiveBack) {
    znRecord::failCall("timeBeginPeriod");
    znRecord::failCall("CreateWaitableTimerExW");
    startPaced(100, true);
    renderFrames(11);
    EXPECT_NEAR(meanRate(), 100.0, 1.0); // whole-millisecond sleeps, rounded up
    manager->setPrecisePacing(false);
    EXPECT_TRUE(znRecord::callsNamed("timeEndPeriod").empty());
    EXPECT_TRUE(znRecord::callsNamed("CloseHandle").empty());
}

using SwapInterval = ManagerTest;

TEST_F(SwapInterval, IsOffAtStartUpAndSetOnTheDriverWhenItCan) {
    EXPECT_FALSE(manager->setSwapInterval(1)); // no context yet
    EXPECT_TRUE(znRecord::callsNamed("wglSwapIntervalEXT").empty());
    startUp();
    EXPECT_EQ(manager->getSwapInterval(), 0);
    EXPECT_TRUE(manager->setSwapInterval(1));
    EXPECT_EQ(manager->getSwapInterval(), 1);
    EXPECT_EQ(znRecord::callsNamed("wglSwapIntervalEXT"), Texts{"wglSwapIntervalEXT(1)"});
    // Adaptive sync needs the driver's tear control, which this one lacks; a refusal changes
    // nothing.
    EXPECT_FALSE(manager->setSwapInterval(-1));
    znRecord::failCall("wglSwapIntervalEXT", 1);
    EXPECT_FALSE(manager->setSwapInterval(0));
    EXPECT_EQ(manager->getSwapInterval(), 1);
    // A new start-up switches vertical sync off again.
    manager->initializeOpenGL();
    EXPECT_EQ(manager->getSwapInterval(), 0);
}

TEST_F(SwapInterval, IsRefusedWithoutTheEntryPoint) {
    znRecord::removeProc("wglSwapIntervalEXT");
    startUp();
    EXPECT_FALSE(manager->setSwapInterval(1));
    EXPECT_EQ(manager->getSwapInterval(), 0);
}

} // namespace
