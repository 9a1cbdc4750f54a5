#include "LiveTest.h"
#include "znGL.h"
#include "znRenderContext.h"

#ifndef GL_ARRAY_BUFFER_ARB
#define GL_ARRAY_BUFFER_ARB 0x8892
#define GL_STATIC_DRAW_ARB 0x88E4
#endif
#ifndef GL_TEXTURE1_ARB
#define GL_TEXTURE1_ARB 0x84C1
#endif
#ifndef GL_ACTIVE_TEXTURE_ARB
#define GL_ACTIVE_TEXTURE_ARB 0x84E0
#endif
#ifndef GL_CLIENT_ACTIVE_TEXTURE_ARB
#define GL_CLIENT_ACTIVE_TEXTURE_ARB 0x84E1
#endif

namespace {

TEST(LiveRenderContext, BindsResolvesEveryEntryPointAndReleases) {
    LiveWindow window(160, 120);
    znRenderContext context(window.handle());
    BoxWatcher watcher;
    context.initRenderContext();
    EXPECT_EQ(watcher.stop(), Texts{});
    ASSERT_TRUE(anyContextCurrent());
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    std::printf("GL_VERSION %s, pixel format %d\n", version, context.getPixelFormat());
    EXPECT_GT(context.getPixelFormat(), 0);
    EXPECT_TRUE(znGL::hasGLContext());
    EXPECT_TRUE(znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject));
    EXPECT_TRUE(znGL::isGLExtensionsSupported(GLExtensionPointParameters));
    EXPECT_GE(znGL::getMaxTextureUnits(), 1u);

    // A buffer made, bound and filled through the forwarders.
    unsigned int buffer = 0;
    znGL::glGenBuffersARB(1, &buffer);
    EXPECT_NE(buffer, 0u);
    const float vertices[6] = {0, 0, 1, 0, 0, 1};
    znGL::glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
    znGL::glBufferDataARB(GL_ARRAY_BUFFER_ARB, sizeof vertices, vertices, GL_STATIC_DRAW_ARB);
    znGL::glActiveTextureARB(0x84C1);
    znGL::glActiveTextureARB(0x84C0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    context.destroyRenderContext();
    EXPECT_FALSE(anyContextCurrent());
}

TEST(LiveRenderContext, ActiveAndClientTextureUnitsAreSelectedApart) {
    LiveWindow window(64, 64);
    znRenderContext context(window.handle());
    context.initRenderContext();
    if (znGL::getMaxTextureUnits() < 2) {
        context.destroyRenderContext();
        GTEST_SKIP() << "the driver offers a single texture unit";
    }
    znGL::glActiveTextureARB(GL_TEXTURE1_ARB);
    znGL::glClientActiveTextureARB(GL_TEXTURE1_ARB);
    GLint active = 0, client = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    glGetIntegerv(GL_CLIENT_ACTIVE_TEXTURE_ARB, &client);
    EXPECT_EQ(active, GLint(GL_TEXTURE1_ARB));
    EXPECT_EQ(client, GLint(GL_TEXTURE1_ARB));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    context.destroyRenderContext();
}

TEST(LiveRenderContext, DestroyedWindowFailsWithCode1) {
    LiveWindow window(64, 64);
    znRenderContext context(window.handle());
    if (!window.destroy())
        GTEST_SKIP() << "a destroyed Wayland surface cannot be told from a live one";
    EXPECT_EQ(contextFailureOf([&] { context.initRenderContext(); }), 1);
}

TEST(LiveRenderContext, HostCatchesMakeCurrentFailureByType) {
    LiveWindow window(64, 64);
    znRenderContext context(window.handle());
    context.initRenderContext();
    context.destroyRenderContext();
    // The rendering context is gone: making it current again fails inside the library.
    EXPECT_EQ(contextFailureOf([&] { context.makeCurrent(); }), 5);
    EXPECT_FALSE(anyContextCurrent());
}

} // namespace
