// Precise pacing and the swap-interval setting on a real stack: every call renders, frames come
// in order with time between them, and nothing is reported.
#include "LiveTest.h"
#include "TestEnvironment.h"
#include "znVelmora.h"

namespace {

TEST(LivePacing, PrecisePacingRendersAFrameOnEveryCall) {
    LiveWindow window(160, 120);
    TestEnvironment env;
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, window.width(), window.height());
    manager.setDestinatedFPS(250);
    manager.setPrecisePacing(true);
    BoxWatcher watcher;
    manager.initializeOpenGL();
    manager.enterRenderLoop();
    for (int call = 0; call < 20; ++call) {
        manager.renderFunc();
        window.pump();
    }
    EXPECT_EQ(env.count("renderEnvironment"), 20);
    // The first frame measures from the sync; each later one follows a wait for its deadline.
    for (size_t frame = 1; frame < env.elapsedSeconds.size(); ++frame)
        EXPECT_GT(env.elapsedSeconds[frame], 0.0f) << "frame " << frame;
    manager.setPrecisePacing(false);
    manager.destroyOpenGL();
    EXPECT_EQ(watcher.stop(), Texts{});
}

TEST(LivePacing, SwapIntervalZeroIsAlwaysGranted) {
    LiveWindow window(160, 120);
    TestEnvironment env;
    znVelmora manager(window.handle(), &env);
    EXPECT_FALSE(manager.setSwapInterval(0)); // no context yet
    manager.initializeOpenGL();
    EXPECT_TRUE(manager.setSwapInterval(0));
    EXPECT_EQ(manager.getSwapInterval(), 0);
    manager.destroyOpenGL();
}

} // namespace
