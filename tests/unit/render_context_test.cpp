#include "RecordTest.h"
#include "znGL.h"
#include "znRenderContext.h"

namespace {

using RenderContext = RecordTest;

int failureCode(znRenderContext& context, void (znRenderContext::*operation)()) {
    try {
        (context.*operation)();
    } catch (znExceptionHolder<znContextException>& failure) {
        return failure.exception.code;
    }
    return 0;
}

const std::string kFormat = "{40 v1 0x0025 color=32 depth=24}";

TEST_F(RenderContext, ConstructionTouchesNothing) {
    znRenderContext context(window());
    EXPECT_EQ(context.getRC(), nullptr);
    EXPECT_EQ(context.getDC(), nullptr);
    EXPECT_EQ(context.getPixelFormat(), 0);
    EXPECT_EQ(context.getRenderWidget(), window());
    EXPECT_TRUE(znRecord::calls().empty());
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtension(3)));
}

// The order of these calls among the rest of start-up is the manager's transcript's; here, what
// each asks for.
TEST_F(RenderContext, BindsTheFixedFormatThenLoadsTheTable) {
    znRenderContext context(window());
    context.initRenderContext();
    EXPECT_EQ(znRecord::callsNamed("GetDC"), Texts{"GetDC(0x10)"});
    EXPECT_EQ(znRecord::callsNamed("ChoosePixelFormat"),
              Texts{"ChoosePixelFormat(0x1001, " + kFormat + ")"});
    EXPECT_EQ(znRecord::callsNamed("SetPixelFormat"),
              Texts{"SetPixelFormat(0x1001, 1, " + kFormat + ")"});
    EXPECT_EQ(znRecord::callsNamed("wglCreateContext"), Texts{"wglCreateContext(0x1001)"});
    EXPECT_EQ(znRecord::callsNamed("wglMakeCurrent"), Texts{"wglMakeCurrent(0x1001, 0x2001)"});
    // The entry points are looked up with the new context current, or they would be missing.
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(context.getDC(), znRecord::currentDC());
    EXPECT_EQ(context.getRC(), znRecord::currentContext());
    EXPECT_EQ(context.getPixelFormat(), 1);
}

struct PartialFailure {
    const char* call;
    int code;
    bool dcHeld;
    int pixelFormat;
    bool rcHeld;
};

class RenderContextFailure : public RenderContext,
                             public ::testing::WithParamInterface<PartialFailure> {};

TEST_P(RenderContextFailure, StopsAtItsStepKeepingWhatEarlierStepsGot) {
    const PartialFailure& failure = GetParam();
    znRecord::setChosenPixelFormat(7);
    znRecord::failCall(failure.call, 1);
    znRenderContext context(window());
    EXPECT_EQ(failureCode(context, &znRenderContext::initRenderContext), failure.code);
    EXPECT_EQ(context.getDC() != nullptr, failure.dcHeld);
    EXPECT_EQ(context.getPixelFormat(), failure.pixelFormat);
    EXPECT_EQ(context.getRC() != nullptr, failure.rcHeld);
    // Nothing acquired is given back, and the table stays unloaded.
    EXPECT_EQ(znRecord::heldDCs(), failure.dcHeld ? 1 : 0);
    EXPECT_TRUE(znRecord::callsNamed("wglGetProcAddress").empty());
    EXPECT_TRUE(znRecord::callsNamed("ReleaseDC").empty());
    EXPECT_TRUE(boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(EachStep, RenderContextFailure,
                         ::testing::Values(PartialFailure{"GetDC", 1, false, 0, false},
                                           PartialFailure{"ChoosePixelFormat", 2, true, 0, false},
                                           PartialFailure{"SetPixelFormat", 3, true, 7, false},
                                           PartialFailure{"wglCreateContext", 4, true, 7, false},
                                           PartialFailure{"wglMakeCurrent", 5, true, 7, true}),
                         [](const ::testing::TestParamInfo<PartialFailure>& info) {
                             return std::string(info.param.call);
                         });

TEST_F(RenderContext, NullWindowFailsWithCode1AndKeepsTheScreenDC) {
    znRenderContext context(nullptr);
    EXPECT_EQ(failureCode(context, &znRenderContext::initRenderContext), 1);
    EXPECT_EQ(znRecord::callTexts(), Texts{"GetDC(NULL)"});
    EXPECT_NE(context.getDC(), nullptr);
    EXPECT_EQ(znRecord::heldDCs(), 1);
}

TEST_F(RenderContext, DestroyReleasesEverythingButKeepsTheHandles) {
    znRenderContext context(window());
    context.initRenderContext();
    const HDC dc = context.getDC();
    const HGLRC rc = context.getRC();
    znRecord::clearCalls();
    context.destroyRenderContext();
    EXPECT_EQ(znRecord::callTexts(),
              (Texts{"wglMakeCurrent(NULL, NULL)", "wglDeleteContext(0x2001)",
                     "ReleaseDC(0x10, 0x1001)"}));
    EXPECT_EQ(znRecord::currentContext(), nullptr);
    EXPECT_EQ(znRecord::heldDCs(), 0);
    EXPECT_EQ(context.getDC(), dc);
    EXPECT_EQ(context.getRC(), rc);
    EXPECT_EQ(context.getPixelFormat(), 1);
}

TEST_F(RenderContext, DestroyStopsAtAFailedStep) {
    znRenderContext context(window());
    context.initRenderContext();
    znRecord::failCall("wglMakeCurrent", 1);
    EXPECT_EQ(failureCode(context, &znRenderContext::destroyRenderContext), 5);
    EXPECT_TRUE(znRecord::callsNamed("wglDeleteContext").empty());
    znRecord::failCall("wglDeleteContext", 1);
    EXPECT_EQ(failureCode(context, &znRenderContext::destroyRenderContext), 6);
    EXPECT_TRUE(znRecord::callsNamed("ReleaseDC").empty());
    EXPECT_EQ(znRecord::heldDCs(), 1);
}

TEST_F(RenderContext, DestructorReleasesNoPlatformResource) {
    {
        znRenderContext context(window());
        context.initRenderContext();
        znRecord::clearCalls();
    }
    EXPECT_TRUE(znRecord::calls().empty());
    EXPECT_EQ(znRecord::heldDCs(), 1);
}

TEST_F(RenderContext, DestroyingEitherOfTwoLeavesNoContextCurrent) {
    znRenderContext first(window(0x10));
    znRenderContext second(window(0x20));
    first.initRenderContext();
    second.initRenderContext();
    ASSERT_EQ(znRecord::currentContext(), second.getRC());
    first.destroyRenderContext();
    EXPECT_EQ(znRecord::currentContext(), nullptr);
    // The other one is made current again and goes the same way.
    second.makeCurrent();
    EXPECT_EQ(znRecord::currentContext(), second.getRC());
    second.destroyRenderContext();
    EXPECT_EQ(znRecord::currentContext(), nullptr);
}

TEST_F(RenderContext, MakeCurrentSwitchesBackOrFailsWithCode5) {
    znRenderContext first(window(0x10));
    znRenderContext second(window(0x20));
    first.initRenderContext();
    second.initRenderContext();
    first.makeCurrent();
    EXPECT_EQ(znRecord::currentContext(), first.getRC());
    znRecord::failCall("wglMakeCurrent", 1);
    EXPECT_EQ(failureCode(second, &znRenderContext::makeCurrent), 5);
    EXPECT_EQ(znRecord::currentContext(), first.getRC());
}

TEST_F(RenderContext, RepeatedInitAcquiresNewHandlesWithoutReleasingOld) {
    znRenderContext context(window());
    context.initRenderContext();
    context.initRenderContext();
    EXPECT_EQ(context.getDC(), reinterpret_cast<HDC>(0x1002));
    EXPECT_EQ(context.getRC(), reinterpret_cast<HGLRC>(0x2002));
    EXPECT_EQ(znRecord::heldDCs(), 2);
}

} // namespace
