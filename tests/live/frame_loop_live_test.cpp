#include "LiveTest.h"
#include "TestEnvironment.h"
#include "znVelmora.h"

namespace {

const int kWidth = 240;
const int kHeight = 180;

// A white square over the lower-right quarter, in the environment's own viewport and projection.
void drawSquare() {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glVertex2f(0.2f, -0.8f);
    glVertex2f(0.8f, -0.8f);
    glVertex2f(0.8f, -0.2f);
    glVertex2f(0.2f, -0.2f);
    glEnd();
    glEnable(GL_DEPTH_TEST);
}

TEST(LiveFrameLoop, RendersTheSceneWithItsOverlayFrameAfterFrame) {
    LiveWindow window(kWidth, kHeight);
    TestEnvironment env;
    env.drawing = drawSquare;
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, kWidth, kHeight);
    BoxWatcher watcher;
    manager.initializeOpenGL();
    while (env.count("renderEnvironment") < 30) {
        manager.enterRenderLoop();
        manager.renderFunc();
        window.pump();
    }
    EXPECT_EQ(watcher.stop(), Texts{});
    EXPECT_EQ(env.count("syncEnvironment"), 1);
    for (float seconds : env.elapsedSeconds)
        EXPECT_GT(seconds, 0.0f);

    // What the last frame put on screen, as the window system shows it (top row first).
    const std::vector<unsigned char> screen = window.capture();
    ASSERT_EQ(screen.size(), size_t(kWidth) * kHeight * 3);
    const Rgb clearColour = {77, 26, 0};
    EXPECT_GT(countNear(screen, kWidth, 0, kHeight / 2, kWidth / 2, kHeight, clearColour, 3), 5000);
    EXPECT_GT(countNear(screen, kWidth, 150, 110, 210, 160, Rgb{255, 255, 255}, 3), 2500);
    // The overlay viewport: x 0 to 50, 45 to 5 pixels below the top of the drawing area.
    EXPECT_GT(countNear(screen, kWidth, 0, 5, 50, 45, Rgb{0, 255, 255}, 60), 10);
    EXPECT_EQ(countNear(screen, kWidth, 0, 60, kWidth, kHeight, Rgb{0, 255, 255}, 60), 0);
    manager.destroyOpenGL();
}

TEST(LiveFrameLoop, PacesFramesToTheTargetRateBySleeping) {
    LiveWindow window(64, 64);
    TestEnvironment env;
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, 64, 64);
    manager.setDestinatedFPS(50);
    manager.initializeOpenGL();
    manager.enterRenderLoop();
    for (int call = 0; call < 12; ++call)
        manager.renderFunc();
    // Twelve calls at 20 ms per frame: each frame is followed by a call that sleeps.
    EXPECT_GE(env.count("renderEnvironment"), 5);
    EXPECT_LE(env.count("renderEnvironment"), 7);
    manager.destroyOpenGL();
}

} // namespace
