// Before any scenario runs, OpenGL must start in a window of this display: without it every
// scenario fails, and the frame loops would wait for frames that never come. So the run stops
// at once and says why.
#include <cstdio>

#include "LiveTest.h"
#include "znRenderContext.h"

namespace {

class OpenGLAvailable : public testing::Environment {
  public:
    void SetUp() override {
        LiveWindow window(16, 16);
        znRenderContext probe(window.handle());
        BoxWatcher watcher;
        const int code = contextFailureOf([&] { probe.initRenderContext(); });
        watcher.stop();
        if (code == 0) {
            probe.destroyRenderContext();
            return;
        }
        GTEST_FAIL() << "OpenGL cannot start in a window on this display (context failure " << code
                     << ", as the library reports it), so no scenario can run. Under "
                     << "32-bit Wine this means 32-bit Mesa is missing (libgl1:i386, "
                     << "libglx-mesa0:i386, libgl1-mesa-dri:i386).";
    }
};

testing::Environment* const openGLAvailable =
    testing::AddGlobalTestEnvironment(new OpenGLAvailable);

} // namespace
