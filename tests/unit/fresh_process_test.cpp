// Properties that hold only in a process where the library has not run yet. The tests are
// independent of each other's order, but not of other tests: keep this binary to itself.
#include "ManagerTest.h"
#include "znGL.h"
#include "znRenderContext.h"

namespace {

using FreshProcess = RecordTest;

TEST_F(FreshProcess, NoTableBeforeTheFirstRenderContext) {
    EXPECT_FALSE(znGL::hasGLContext());
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtension(3)));
    // Nothing to call through yet, and nothing is reached.
    znGL::glActiveTextureARB(0x84C1);
    znGL::glBindBufferARB(0x8892, 1);
    znRenderContext context(window());
    EXPECT_TRUE(znGL::hasGLContext());
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtension(3)));
}

using FreshOverlay = ManagerTest;

TEST_F(FreshOverlay, TextIsWrittenOnTheFirstOverlayFrameThenEveryEleventh) {
    startUp();
    Texts texts;
    for (int frame = 1; frame <= 23; ++frame) {
        renderAfter(10 + frame);
        texts = overlayTexts();
    }
    ASSERT_EQ(texts.size(), 23u);
    EXPECT_EQ(texts[0], "\"90.91 Frames/sec\"");
    for (int frame = 1; frame < 11; ++frame)
        EXPECT_EQ(texts[frame], texts[0]);
    EXPECT_EQ(texts[11], "\"45.45 Frames/sec\"");
    EXPECT_EQ(texts[21], texts[11]);
    EXPECT_EQ(texts[22], "\"30.30 Frames/sec\"");
}

} // namespace
