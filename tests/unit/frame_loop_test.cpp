#include <algorithm>
#include <iterator>
#include <limits>

#include "ManagerTest.h"

namespace {

using FrameLoop = ManagerTest;

TEST_F(FrameLoop, EarlyCallsSleepOutTheRestOfTheIntervalAndDrawNothing) {
    startUp();
    renderAfter(5);
    EXPECT_EQ(znRecord::callTexts(),
              (Texts{"IsIconic(0x10)", "QueryPerformanceCounter()", "Sleep(3)"}));
    EXPECT_EQ(env.count("animateEnvironment"), 0);
    // The sleep moved the clock to 8 ms: figure 10, which draws.
    renderAfter(0);
    EXPECT_EQ(frameCount(), 1);
    ASSERT_EQ(env.elapsedSeconds.size(), 1u);
    EXPECT_FLOAT_EQ(env.elapsedSeconds[0], 0.008f);
}

// The one transcript of a frame (the overlay's own calls are the font's). Its order is what
// hosts rely on: the scene animates and draws into a cleared buffer with the modelview matrix
// reset, and everything is finished before the swap.
TEST_F(FrameLoop, AFrameClearsAnimatesDrawsOverlaysAndSwaps) {
    startUp();
    manager->setShowFPS(false);
    renderAfter(12);
    EXPECT_EQ(znRecord::callTexts(),
              (Texts{"IsIconic(0x10)", "QueryPerformanceCounter()", "glClear(0x4100)",
                     "glMatrixMode(0x1700)", "glLoadIdentity()", "env.animateEnvironment()",
                     "env.renderEnvironment()", "glFinish()", "SwapBuffers(0x1001)"}));
    EXPECT_FLOAT_EQ(env.elapsedSeconds.at(0), 0.012f);
    // The next frame measures from this one.
    renderAfter(11);
    EXPECT_FLOAT_EQ(env.elapsedSeconds.at(1), 0.011f);
}

TEST_F(FrameLoop, OverlayIsDrawnInItsOwnViewportBelowTheTopOfTheDrawingArea) {
    startUp();
    manager->setWindowSize(0, 0, 200, 100);
    renderAfter(10);
    manager->setWindowSize(7, 30, 200, 100);
    renderAfter(10);
    EXPECT_EQ(znRecord::callsNamed("glViewport"),
              (Texts{"glViewport(0, 55, 50, 40)", "glViewport(0, 85, 50, 40)"}));
    EXPECT_EQ(znRecord::callsNamed("glRasterPos2f"), Texts(2, "glRasterPos2f(-0.65, 0.42)"));
    EXPECT_EQ(znRecord::callsNamed("glColor3f"), Texts(2, "glColor3f(0, 1, 1)"));
    // The overlay comes between the environment's drawing and the swap.
    const Texts calls = znRecord::callTexts();
    const auto viewport = std::find(calls.begin(), calls.end(), "glViewport(0, 55, 50, 40)");
    EXPECT_EQ(*(viewport - 1), "env.renderEnvironment()");
    // Then the font's 18 overlay calls (bitmap_font_test.cpp checks them), and the finish.
    const auto finish = std::find(viewport, calls.end(), "glFinish()");
    ASSERT_NE(finish, calls.end());
    EXPECT_EQ(std::distance(viewport, finish), 1 + 18);
    EXPECT_EQ(*(finish - 1), "glPopAttrib()");
}

TEST_F(FrameLoop, OverlayTextIsRefreshedEveryEleventhRenderedFrame) {
    startUp();
    // Frames of different lengths give each refresh a text of its own; early calls between them
    // render nothing and do not count.
    for (int frame = 1; frame <= 40; ++frame) {
        renderAfter(3);
        renderAfter(10 + frame);
    }
    ASSERT_EQ(frameCount(), 40);
    const Texts texts = overlayTexts();
    std::vector<int> refreshes;
    for (size_t i = 1; i < texts.size(); ++i)
        if (texts[i] != texts[i - 1])
            refreshes.push_back(static_cast<int>(i));
    ASSERT_GE(refreshes.size(), 3u);
    for (size_t i = 1; i < refreshes.size(); ++i)
        EXPECT_EQ(refreshes[i] - refreshes[i - 1], 11);
    const std::string& refreshed = texts[refreshes[0]];
    // Frame i (from 0) spans the 8 ms up to the end of the early call's sleep, then 10 + i + 1.
    const int length = 8 + 10 + refreshes[0] + 1;
    char expected[32];
    std::snprintf(expected, sizeof expected, "\"%.2f Frames/sec\"", 1000.0 / length);
    EXPECT_EQ(refreshed, expected);
}

TEST_F(FrameLoop, WithoutTheOverlayNeitherCounterTextNorViewportChange) {
    startUp();
    renderUntilOverlayRefresh();
    const std::string refreshed = overlayTexts().back();
    const size_t viewports = znRecord::callsNamed("glViewport").size();
    manager->setShowFPS(false);
    for (int frame = 0; frame < 30; ++frame)
        renderAfter(10);
    EXPECT_EQ(znRecord::callsNamed("glViewport").size(), viewports);
    // Ten more overlay frames show the same text, then the eleventh refreshes it.
    manager->setShowFPS(true);
    znRecord::clearCalls();
    for (int frame = 0; frame < 10; ++frame)
        renderAfter(20);
    EXPECT_EQ(overlayTexts(), Texts(10, refreshed));
    renderAfter(20);
    EXPECT_EQ(overlayTexts().back(), "\"50.00 Frames/sec\"");
}

TEST_F(FrameLoop, TheRefreshCounterIsSharedByEveryManager) {
    startUp();
    renderUntilOverlayRefresh();
    for (int frame = 0; frame < 5; ++frame)
        renderAfter(10);
    TestEnvironment otherEnv;
    znVelmora other(window(0x20), &otherEnv);
    other.initializeOpenGL();
    other.enterRenderLoop();
    znRecord::clearCalls();
    // The newcomer continues the shared count: its text stays empty for five frames.
    for (int frame = 0; frame < 6; ++frame) {
        znRecord::advanceCounter(25);
        other.renderFunc();
    }
    EXPECT_EQ(overlayTexts(),
              (Texts{"\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"40.00 Frames/sec\""}));
}

TEST_F(FrameLoop, AFailedSwapIsSilentAndTheNextCallRendersAtOnce) {
    startUp();
    znRecord::failCall("SwapBuffers", 1);
    renderAfter(10);
    EXPECT_TRUE(boxes().empty());
    znRecord::clearCalls();
    renderAfter(0);
    EXPECT_EQ(frameCount(), 1);
    EXPECT_FLOAT_EQ(env.elapsedSeconds.at(1), 0.010f);
}

TEST_F(FrameLoop, ACounterThatWentBackDrawsAtOnce) {
    // Compared unsigned, a span below the allowance is a very large figure, not a short one.
    startUp();
    for (long long back : {5LL, 6LL, 1000LL, 86400000LL}) {
        renderAfter(10);
        znRecord::clearCalls();
        renderAfter(-back);
        EXPECT_TRUE(znRecord::callsNamed("Sleep").empty()) << back;
        EXPECT_EQ(frameCount(), 1) << back;
    }
}

TEST_F(FrameLoop, ReadingsTooFarApartForSixtyFourBitsDrawWithADefinedRate) {
    znRecord::setCounter(std::numeric_limits<long long>::min() + 1000);
    manager->setDestinatedFPS(0); // whatever the span's low 32 bits say, the frame is drawn
    startUp();
    renderUntilOverlayRefresh();
    for (int frame = 0; frame < 10; ++frame)
        renderAfter(10);
    znRecord::clearCalls();
    // The eleventh frame refreshes the text, from a span the counter cannot hold.
    znRecord::setCounter(std::numeric_limits<long long>::max());
    manager->renderFunc();
    EXPECT_EQ(frameCount(), 1);
    EXPECT_EQ(overlayTexts(), Texts{"\"0.00 Frames/sec\""});
}

TEST_F(FrameLoop, AFrameTheEnvironmentFailedIsCountedInTheNextOne) {
    startUp();
    env.throwing = {"renderEnvironment"};
    renderAfter(10);
    ASSERT_EQ(boxes().size(), 1u);
    env.throwing.clear();
    znRecord::clearCalls();
    // The failed frame did not move the last-frame reading: no sleep, and its 10 ms count.
    renderAfter(3);
    EXPECT_TRUE(znRecord::callsNamed("Sleep").empty());
    EXPECT_EQ(frameCount(), 1);
    ASSERT_EQ(env.elapsedSeconds.size(), 2u);
    EXPECT_FLOAT_EQ(env.elapsedSeconds[1], 0.013f);
}

TEST_F(FrameLoop, EnvironmentFailureWhileDrawingIsShownOnceAndDropsTheFrame) {
    for (const char* operation : {"animateEnvironment", "renderEnvironment"}) {
        znRecord::reset();
        TestEnvironment failing;
        failing.throwing = {operation};
        znVelmora failingManager(window(), &failing);
        failingManager.initializeOpenGL();
        failingManager.enterRenderLoop();
        znRecord::clearCalls();
        znRecord::advanceCounter(10);
        failingManager.renderFunc();
        EXPECT_EQ(boxes(),
                  Texts{"znVelmora Render Error|Error, while rendering the environment.|16"});
        EXPECT_TRUE(znRecord::callsNamed("glViewport").empty());
        EXPECT_TRUE(znRecord::callsNamed("glFinish").empty());
        EXPECT_EQ(frameCount(), 0);
    }
}

TEST_F(FrameLoop, FailedSyncReachesTheHostAndIsRetried) {
    manager->initializeOpenGL();
    env.throwing = {"syncEnvironment"};
    znRecord::clearCalls();
    try {
        manager->enterRenderLoop();
        FAIL() << "the failed sync was swallowed";
    } catch (znExceptionHolder<znRenderException>& failure) {
        EXPECT_EQ(failure.exception.code, 3);
    }
    EXPECT_TRUE(znRecord::callsNamed("QueryPerformanceCounter").empty());
    env.throwing.clear();
    EXPECT_TRUE(manager->enterRenderLoop());
    EXPECT_TRUE(manager->enterRenderLoop());
    EXPECT_EQ(env.count("syncEnvironment"), 2);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(FrameLoop, SyncRunsOnlyAfterTheContentIsMarkedModified) {
    startUp();
    EXPECT_TRUE(manager->enterRenderLoop());
    EXPECT_TRUE(znRecord::calls().empty());
    manager->setRenderContentModified(true);
    znRecord::advanceCounter(40);
    manager->enterRenderLoop();
    EXPECT_EQ(znRecord::callTexts(), (Texts{"env.syncEnvironment()", "QueryPerformanceCounter()"}));
    // The next frame measures from the end of the sync.
    renderAfter(15);
    EXPECT_FLOAT_EQ(env.elapsedSeconds.at(0), 0.015f);
}

TEST_F(FrameLoop, AMinimisedWindowIsSkippedWithoutSleeping) {
    startUp();
    znRecord::setIconic(window(), true);
    renderAfter(2);
    renderAfter(20);
    EXPECT_EQ(znRecord::callTexts(), (Texts{"IsIconic(0x10)", "IsIconic(0x10)"}));
}

TEST_F(FrameLoop, WithoutAPerformanceCounterItOnlySleeps) {
    znRecord::setCounterFrequency(0);
    startUp();
    renderAfter(1000);
    renderAfter(1000);
    EXPECT_EQ(znRecord::callsNamed("Sleep"), (Texts{"Sleep(8)", "Sleep(8)"}));
    EXPECT_EQ(frameCount(), 0);
}

TEST_F(FrameLoop, OverlayTextIsCutToFitAndZeroSpansShowNoRate) {
    // Frames one count long at 10^18 counts per second, without pacing.
    znRecord::setCounterFrequency(1000000000000000000LL);
    manager->setDestinatedFPS(0);
    startUp();
    for (int frame = 0; frame < 11; ++frame)
        renderAfter(1);
    Texts texts = overlayTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "\"1000000000000000000.00 Frames/s\""),
              texts.end());
    znRecord::clearCalls();
    for (int frame = 0; frame < 11; ++frame)
        renderAfter(0);
    texts = overlayTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "\"0.00 Frames/sec\""), texts.end());
}

} // namespace
