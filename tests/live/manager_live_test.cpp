#include <cstring>
#include <stdexcept>

#include "LiveTest.h"
#include "TestEnvironment.h"
#include "znVelmora.h"

namespace {

std::string joined(const std::vector<std::string>& pieces) {
    std::string text;
    for (size_t i = 0; i < pieces.size(); ++i)
        text += (i ? " " : "") + pieces[i];
    return text;
}

const char* glText(GLenum name) {
    return reinterpret_cast<const char*>(glGetString(name));
}

TEST(LiveRenderManager, StartsUpDescribesTheDriverAndTearsDown) {
    LiveWindow window(200, 150);
    TestEnvironment env;
    // The scene's first check finds no error: whatever start-up left was the library's own.
    GLenum pending = GL_NO_ERROR;
    env.observer = [&](const std::string& operation) {
        if (operation == "prepareEnvironment")
            pending = glGetError();
    };
    {
        znVelmora manager(window.handle(), &env);
        BoxWatcher watcher;
        manager.initializeOpenGL();
        EXPECT_EQ(watcher.stop(), Texts{});
        ASSERT_TRUE(anyContextCurrent());
        EXPECT_STREQ(manager.getGLVendor(), glText(GL_VENDOR));
        EXPECT_STREQ(manager.getGLRenderer(), glText(GL_RENDERER));
        EXPECT_STREQ(manager.getGLVersion(), glText(GL_VERSION));
        EXPECT_EQ(joined(manager.getGLExtensions()), glText(GL_EXTENSIONS));
        EXPECT_GT(manager.getGLExtensions().size(), 10u);
        std::printf("driver kind: %s; renderer: %s\n", manager.getGLDriver(),
                    manager.getGLRenderer());
        EXPECT_EQ(env.events, (Texts{"prepareEnvironment", "initEnvironment"}));
        EXPECT_EQ(pending, GLenum(GL_NO_ERROR));

        GLfloat clear[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        EXPECT_NEAR(clear[0], 0.3f, 1e-6);
        EXPECT_NEAR(clear[1], 0.1f, 1e-6);
        EXPECT_NEAR(clear[2], 0.0f, 1e-6);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

        BoxWatcher tearDown;
        manager.destroyOpenGL();
        EXPECT_EQ(tearDown.stop(), Texts{});
        EXPECT_EQ(env.events.back(), "destroyEnvironment");
        EXPECT_FALSE(anyContextCurrent());
    }
    // The manager is gone and the process goes on without a report.
    EXPECT_EQ(env.count("destroyEnvironment"), 1);
}

TEST(LiveRenderManager, StartUpWithoutAWindowReportsOnceAndSkipsTheEnvironment) {
    TestEnvironment env;
    znVelmora manager(nullptr, &env);
    BoxWatcher watcher;
    EXPECT_FALSE(manager.initializeOpenGL());
    EXPECT_EQ(watcher.stop(), Texts{"znVelmora Context Error: Could not get device context"});
    EXPECT_EQ(env.events, Texts{});
}

TEST(LiveRenderManager, ANullEnvironmentIsRejectedByTypeAtConstruction) {
    LiveWindow window(64, 64);
    try {
        znVelmora manager(window.handle(), nullptr);
        ADD_FAILURE() << "a manager without an environment was made";
    } catch (const std::invalid_argument& rejected) {
        EXPECT_NE(std::string(rejected.what()).find("environment"), std::string::npos);
    }
}

TEST(LiveRenderManager, ManagersOnOneThreadTearDownInAnyOrder) {
    LiveWindow first(64, 64), second(64, 64);
    TestEnvironment firstScene, secondScene;
    znVelmora one(first.handle(), &firstScene), two(second.handle(), &secondScene);
    one.initializeOpenGL();
    two.initializeOpenGL();
    BoxWatcher watcher;
    two.destroyOpenGL();
    // Nothing is current any more, and releasing nothing is no failure: the context goes.
    one.destroyOpenGL();
    EXPECT_FALSE(anyContextCurrent());
    if (runningUnderWine()) {
        // NOTE: Wine's wglMakeCurrent(NULL, NULL) fails when nothing is current (Windows'
        // succeeds), so the first manager's context stays and its failure is shown.
        EXPECT_EQ(watcher.stop(), Texts{"znVelmora Context Error: Could not activate the "
                                        "rendercontext."});
        return;
    }
    EXPECT_EQ(watcher.stop(), Texts{});
    EXPECT_EQ(contextFailureOf([&] { one.getRenderContext().makeCurrent(); }), 5);
}

} // namespace
