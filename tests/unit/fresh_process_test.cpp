// Properties that hold only in a process where the library has not run yet. The tests are
// independent of each other's order, but not of other tests: keep this binary to itself.
#include "RecordTest.h"
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

} // namespace
