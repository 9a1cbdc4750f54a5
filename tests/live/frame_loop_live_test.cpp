#include "LiveTest.h"
#include "TestEnvironment.h"
#include "znVelmora.h"

namespace {

const int kWidth = 240;
const int kHeight = 180;

// A square over the lower-right quarter, in the environment's own viewport and projection, in
// the colour the host set once when it started.
void drawSquare() {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    glVertex2f(0.2f, -0.8f);
    glVertex2f(0.8f, -0.8f);
    glVertex2f(0.8f, -0.2f);
    glVertex2f(0.2f, -0.2f);
    glEnd();
    glEnable(GL_DEPTH_TEST);
}

const Rgb kCyan = {0, 255, 255};

// A host that sets its colour once, when it starts, and relies on it in every frame (that the
// overlay gives the colour back is the font suite's rule; here the square shows it on screen).
struct ColourOnceScene : TestEnvironment {
    ColourOnceScene() {
        drawing = drawSquare;
        observer = [](const std::string& operation) {
            if (operation == "initEnvironment")
                glColor4f(1.0f, 0.5f, 0.25f, 0.5f);
        };
    }
};

// Frames until the scene has drawn `count` more, then what the last one put on screen, as the
// window system shows it (top row first).
std::vector<unsigned char> renderFrames(znVelmora& manager, TestEnvironment& env,
                                        LiveWindow& window, int count) {
    const int goal = env.count("renderEnvironment") + count;
    // A start-up that failed renders nothing, however long the loop waits.
    EXPECT_NE(manager.getGLRenderer(), nullptr) << "start-up failed";
    for (int call = 0; call < 100 * count && env.count("renderEnvironment") < goal; ++call) {
        manager.enterRenderLoop();
        manager.renderFunc();
        window.pump();
    }
    return window.capture();
}

int overlayPixels(const std::vector<unsigned char>& screen) {
    // The overlay viewport: x 0 to 50, 45 to 5 pixels below the top of the drawing area.
    return countNear(screen, kWidth, 0, 5, 50, 45, kCyan, 60);
}

TEST(LiveFrameLoop, RendersTheSceneWithItsOverlayAndLeavesTheHostsColourFrameAfterFrame) {
    LiveWindow window(kWidth, kHeight);
    ColourOnceScene env;
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, kWidth, kHeight);
    BoxWatcher watcher;
    manager.initializeOpenGL();
    const std::vector<unsigned char> screen = renderFrames(manager, env, window, 30);
    EXPECT_EQ(watcher.stop(), Texts{});
    EXPECT_EQ(env.count("syncEnvironment"), 1);
    for (float seconds : env.elapsedSeconds)
        EXPECT_GT(seconds, 0.0f);

    ASSERT_EQ(screen.size(), size_t(kWidth) * kHeight * 3);
    const Rgb clearColour = {77, 26, 0};
    EXPECT_GT(countNear(screen, kWidth, 0, kHeight / 2, kWidth / 2, kHeight, clearColour, 3), 5000);
    // The square in the colour the host set once, after 29 overlays.
    EXPECT_GT(countNear(screen, kWidth, 150, 110, 210, 160, Rgb{255, 128, 64}, 3), 2500);
    EXPECT_GT(overlayPixels(screen), 10);
    EXPECT_EQ(countNear(screen, kWidth, 0, 60, kWidth, kHeight, kCyan, 60), 0);
    manager.destroyOpenGL();
}

TEST(LiveFrameLoop, ARestartedManagerDrawsItsOverlayAgain) {
    LiveWindow window(kWidth, kHeight);
    ColourOnceScene env;
    znVelmora manager(window.handle(), &env);
    manager.setWindowSize(0, 0, kWidth, kHeight);
    for (int run = 0; run < 2; ++run) {
        manager.initializeOpenGL();
        EXPECT_GT(overlayPixels(renderFrames(manager, env, window, 15)), 10) << "run " << run;
        manager.destroyOpenGL();
    }
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
    // However fast the machine draws, frames start at least the interval apart, less the 2 ms
    // a frame may start early; a slow frame only makes the next call draw at once.
    ASSERT_GE(env.count("renderEnvironment"), 2);
    for (float seconds : env.elapsedSeconds)
        EXPECT_GE(seconds, 0.018f);
    manager.destroyOpenGL();
}

} // namespace
