#include "ManagerTest.h"

namespace {

using RenderManager = ManagerTest;

TEST_F(RenderManager, ConstructionSetsDefaultsAndTouchesNothing) {
    EXPECT_TRUE(znRecord::calls().empty());
    EXPECT_STREQ(manager->getGLDriver(), "Generic (Software Emulation)");
    EXPECT_EQ(manager->getGLVendor(), nullptr);
    EXPECT_TRUE(manager->getGLExtensions().empty());
    EXPECT_EQ(manager->getDestinatedFPS(), 100u);
    EXPECT_EQ(manager->getRenderContext().getRenderWidget(), window());
    int x = -1, y = -1, width = -1, height = -1;
    manager->getWindowsSize(x, y, width, height);
    EXPECT_EQ((Texts{std::to_string(x), std::to_string(y), std::to_string(width),
                     std::to_string(height)}),
              (Texts{"0", "0", "1", "1"}));
}

// The one transcript of a start-up. Its order is what hosts rely on: the context is current
// before the entry points are looked up and the clear state set, the overlay's glyphs are built
// with it current and leave no error for the scene, the scene's environment comes last, and the
// timer is reset after it, so the first frame measures from the end of start-up. The render
// context, extension and font suites check what each of their calls asks for.
TEST_F(RenderManager, StartUpRunsItsStepsInOrder) {
    znRecord::setCounter(250);
    EXPECT_TRUE(manager->initializeOpenGL());
    EXPECT_EQ(znRecord::callTexts(),
              (Texts{"GetDC(0x10)",
                     "ChoosePixelFormat(0x1001, {40 v1 0x0025 color=32 depth=24})",
                     "SetPixelFormat(0x1001, 1, {40 v1 0x0025 color=32 depth=24})",
                     "wglCreateContext(0x1001)",
                     "wglMakeCurrent(0x1001, 0x2001)",
                     "wglGetProcAddress(\"glPointParameterfARB\")",
                     "wglGetProcAddress(\"glPointParameterfvARB\")",
                     "wglGetProcAddress(\"glBindBufferARB\")",
                     "wglGetProcAddress(\"glGenBuffersARB\")",
                     "wglGetProcAddress(\"glBufferDataARB\")",
                     "wglGetProcAddress(\"glMultiTexCoord2fARB\")",
                     "wglGetProcAddress(\"glActiveTextureARB\")",
                     "wglGetProcAddress(\"glClientActiveTextureARB\")",
                     "wglGetProcAddress(\"wglSwapIntervalEXT\")",
                     "wglSwapIntervalEXT(0)",
                     "glClearColor(0.3, 0.1, 0, 0)",
                     "glClearDepth(1)",
                     "glEnable(0x0B71)",
                     "QueryPerformanceFrequency()",
                     "QueryPerformanceCounter()",
                     "DescribePixelFormat(0x1001, 1, 40)",
                     "glGetString(0x1F00)",
                     "glGetError()",
                     "glGetString(0x1F01)",
                     "glGetError()",
                     "glGetString(0x1F02)",
                     "glGetError()",
                     "glGetString(0x1F03)",
                     "glGetError()",
                     "glGenLists(96)",
                     "wglGetCurrentDC()",
                     "CreateFontA(15, 0, 0, 0, 700, 1, 0, 0, 0, 4, 0, 4, 0, \"Arial\")",
                     "SelectObject(0x1001, 0x3001)",
                     "wglUseFontBitmapsA(0x1001, 32, 96, 1)",
                     "SelectObject(0x1001, 0x3000)",
                     "DeleteObject(0x3001)",
                     "glGetError()",
                     "env.prepareEnvironment()",
                     "env.initEnvironment()",
                     "QueryPerformanceCounter()"}));
    EXPECT_STREQ(manager->getGLVendor(), "znVelmora record");
    EXPECT_STREQ(manager->getGLRenderer(), "recording stand-in");
    EXPECT_STREQ(manager->getGLVersion(), "1.1.0 record");
    EXPECT_EQ(manager->getGLExtensions(), (Texts{"GL_ARB_multitexture", "GL_ARB_point_parameters",
                                                 "GL_ARB_vertex_buffer_object"}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(RenderManager, ARestartBuildsTheOverlayInItsNewDeviceContextAndLeavesNoErrorPending) {
    // As under Wine, building the glyphs leaves an error behind.
    znRecord::leaveGLError("wglUseFontBitmapsA", GL_OUT_OF_MEMORY);
    GLenum seenByTheScene = GL_NO_ERROR;
    env.observer = [&](const std::string& operation) {
        if (operation == "prepareEnvironment")
            seenByTheScene = glGetError();
    };
    manager->initializeOpenGL();
    manager->destroyOpenGL();
    znRecord::clearCalls();
    manager->initializeOpenGL();
    EXPECT_EQ(seenByTheScene, GLenum(GL_NO_ERROR));
    // The first device context (0x1001) was released by the tear-down.
    EXPECT_EQ(znRecord::callsNamed("wglUseFontBitmapsA"),
              Texts{"wglUseFontBitmapsA(0x1002, 32, 96, 97)"});
    EXPECT_EQ(znRecord::callsNamed("SelectObject"),
              (Texts{"SelectObject(0x1002, 0x3002)", "SelectObject(0x1002, 0x3000)"}));
    EXPECT_TRUE(boxes().empty());
}

struct StartUpFailure {
    const char* call;
    const char* text;
};

class RenderManagerStartUpFailure : public ManagerTest,
                                    public ::testing::WithParamInterface<StartUpFailure> {};

TEST_P(RenderManagerStartUpFailure, IsShownOnceSkipsTheRestAndStillResetsTheTimer) {
    znRecord::failCall(GetParam().call);
    // The result tells the host that there is no context to tear down.
    EXPECT_FALSE(manager->initializeOpenGL());
    EXPECT_EQ(boxes(), Texts{std::string("znVelmora Context Error|") + GetParam().text + "|16"});
    EXPECT_EQ(env.events, Texts{});
    EXPECT_TRUE(znRecord::callsNamed("glClearColor").empty());
    EXPECT_TRUE(znRecord::callsNamed("glGenLists").empty());
    EXPECT_EQ(znRecord::callTexts().back(), "QueryPerformanceCounter()");
    EXPECT_EQ(manager->getGLVendor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EachCode, RenderManagerStartUpFailure,
    ::testing::Values(StartUpFailure{"GetDC", "Could not get device context"},
                      StartUpFailure{"ChoosePixelFormat", "Could not create the pixelformat."},
                      StartUpFailure{"SetPixelFormat", "Could not set the pixelformat."},
                      StartUpFailure{"wglCreateContext", "Could not create the rendercontext."},
                      StartUpFailure{"wglMakeCurrent", "Could not activate the rendercontext."}),
    [](const ::testing::TestParamInfo<StartUpFailure>& info) {
        return std::string(info.param.call);
    });

TEST_F(RenderManager, EnvironmentFailuresAtStartUpReachTheHostWithoutTheReset) {
    env.throwing = {"prepareEnvironment"};
    EXPECT_THROW(manager->initializeOpenGL(), std::runtime_error);
    EXPECT_EQ(znRecord::callTexts().back(), "env.prepareEnvironment()");
    EXPECT_EQ(env.count("initEnvironment"), 0);
    EXPECT_TRUE(boxes().empty());
}

// Each case runs on a fresh recording platform with the fixture's manager.
using DriverKind = std::pair<unsigned int, const char*>;
class RenderManagerDriverKind : public RenderManager,
                                public ::testing::WithParamInterface<DriverKind> {};

TEST_P(RenderManagerDriverKind, PixelFormatFlagsTellTheDriverKind) {
    znRecord::setPixelFormatFlags(GetParam().first);
    manager->initializeOpenGL();
    EXPECT_STREQ(manager->getGLDriver(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Flags, RenderManagerDriverKind,
                         ::testing::Values(DriverKind{0x25 | 0x40, "Generic (Software Emulation)"},
                                           DriverKind{0x25 | 0x1000,
                                                      "Generic (Software Emulation)"},
                                           DriverKind{0x25 | 0x1040, "Mini Client MCD"},
                                           DriverKind{0x25, "Installable Client ICD"}));

TEST_F(RenderManager, AFormatThatCannotBeDescribedCountsAsGeneric) {
    znRecord::failCall("DescribePixelFormat");
    manager->initializeOpenGL();
    EXPECT_STREQ(manager->getGLDriver(), "Generic (Software Emulation)");
}

using ExtensionSplit = std::pair<const char*, Texts>;
class RenderManagerExtensions : public RenderManager,
                                public ::testing::WithParamInterface<ExtensionSplit> {};

TEST_P(RenderManagerExtensions, ExtensionStringIsSplitAtEverySingleBlank) {
    znRecord::setGLString(GL_EXTENSIONS, GetParam().first);
    manager->initializeOpenGL();
    EXPECT_EQ(manager->getGLExtensions(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Strings, RenderManagerExtensions,
                         ::testing::Values(ExtensionSplit{"GL_A GL_B ", {"GL_A", "GL_B", ""}},
                                           ExtensionSplit{"GL_A  GL_B", {"GL_A", "", "GL_B"}},
                                           ExtensionSplit{"", {""}},
                                           ExtensionSplit{"GL_A\tGL_B\nGL_C", {"GL_A\tGL_B\nGL_C"}},
                                           ExtensionSplit{nullptr, {"no-information-available"}}));

TEST_F(RenderManager, StringsTheDriverCannotGiveBecomeThePlaceholder) {
    znRecord::failGLString(GL_RENDERER);
    znRecord::failGLString(GL_EXTENSIONS);
    znRecord::setGLString(GL_VERSION, nullptr);
    manager->initializeOpenGL();
    EXPECT_STREQ(manager->getGLVendor(), "znVelmora record");
    EXPECT_STREQ(manager->getGLRenderer(), "no-information-available");
    EXPECT_STREQ(manager->getGLVersion(), "no-information-available");
    EXPECT_EQ(manager->getGLExtensions(), Texts{"no-information-available"});
}

TEST_F(RenderManager, AnErrorRaisedBesideARealStringStillGivesThePlaceholder) {
    // The vendor query is the first to look at the error flag, so it sees this one although the
    // driver handed a string back.
    znRecord::setGLError(GL_INVALID_OPERATION);
    manager->initializeOpenGL();
    EXPECT_STREQ(manager->getGLVendor(), "no-information-available");
    EXPECT_STREQ(manager->getGLRenderer(), "recording stand-in");
    EXPECT_EQ(manager->getGLExtensions().size(), 3u);
}

// An environment whose named operation takes 5 ms and then throws the context-failure holder
// with this code, as a host's scene may when it drives a znRenderContext of its own.
void throwContextFailureFrom(TestEnvironment& env, const std::string& failing, int code) {
    env.observer = [failing, code](const std::string& operation) {
        znRecord::note("env." + operation);
        if (operation != failing)
            return;
        znRecord::advanceCounter(5);
        throw znExceptionHolder<znContextException>(znContextException(code));
    };
}

// The environment's operation that fails, and the log from the environment's first call on.
using EnvironmentFailure = std::pair<const char*, Texts>;
class RenderManagerEnvironmentFailure : public RenderManager,
                                        public ::testing::WithParamInterface<EnvironmentFailure> {};

const char* const kCreateContextBox =
    "MessageBoxA(NULL, \"Could not create the rendercontext.\", \"znVelmora Context Error\", "
    "0x0010)";

TEST_P(RenderManagerEnvironmentFailure, AtStartUpIsShownAndTheTimerStillReset) {
    throwContextFailureFrom(env, GetParam().first, 4);
    EXPECT_NO_THROW(manager->initializeOpenGL());
    EXPECT_EQ(boxes(), Texts{"znVelmora Context Error|Could not create the rendercontext.|16"});
    const Texts calls = znRecord::callTexts();
    const auto first = std::find(calls.begin(), calls.end(), "env.prepareEnvironment()");
    EXPECT_EQ(Texts(first, calls.end()), GetParam().second);
    // The reset read the counter after the failure: the first frame measures from there.
    znRecord::advanceCounter(12);
    manager->setShowFPS(false);
    manager->renderFunc();
    EXPECT_FLOAT_EQ(env.elapsedSeconds.at(0), 0.012f);
}

INSTANTIATE_TEST_SUITE_P(
    ContextFailures, RenderManagerEnvironmentFailure,
    ::testing::Values(EnvironmentFailure{"prepareEnvironment",
                                         {"env.prepareEnvironment()", kCreateContextBox,
                                          "QueryPerformanceCounter()"}},
                      EnvironmentFailure{"initEnvironment",
                                         {"env.prepareEnvironment()", "env.initEnvironment()",
                                          kCreateContextBox, "QueryPerformanceCounter()"}}),
    [](const ::testing::TestParamInfo<EnvironmentFailure>& info) {
        return std::string(info.param.first);
    });

TEST_F(RenderManager, StartUpFailsForAnyContextFailureOfTheEnvironmentEvenWithCodeZero) {
    throwContextFailureFrom(env, "initEnvironment", 0);
    EXPECT_FALSE(manager->initializeOpenGL());
    EXPECT_EQ(boxes(), Texts{"znVelmora Context Error|Unknown internal error.|16"});
}

TEST_F(RenderManager, AContextFailureOfTheEnvironmentAtTearDownIsShownAndReleasesNothing) {
    manager->initializeOpenGL();
    throwContextFailureFrom(env, "destroyEnvironment", 6);
    znRecord::clearCalls();
    EXPECT_NO_THROW(manager->destroyOpenGL());
    EXPECT_EQ(boxes(), Texts{"znVelmora Context Error|Could not destroy the rendercontext.|16"});
    EXPECT_EQ(znRecord::callTexts().front(), "env.destroyEnvironment()");
    EXPECT_EQ(znRecord::callTexts().size(), 2u); // and the box
    EXPECT_EQ(znRecord::liveListNames(), 96);
    EXPECT_EQ(znRecord::heldDCs(), 1);
    EXPECT_NE(znRecord::currentContext(), nullptr);
}

TEST_F(RenderManager, TearDownReleasesInOrder) {
    manager->initializeOpenGL();
    znRecord::clearCalls();
    manager->destroyOpenGL();
    EXPECT_EQ(
        znRecord::callTexts(),
        (Texts{"env.destroyEnvironment()", "glDeleteLists(1, 96)", "wglMakeCurrent(NULL, NULL)",
               "wglDeleteContext(0x2001)", "ReleaseDC(0x10, 0x1001)"}));
    EXPECT_EQ(znRecord::liveListNames(), 0);
    EXPECT_EQ(znRecord::heldDCs(), 0);
    EXPECT_EQ(znRecord::currentContext(), nullptr);
}

TEST_F(RenderManager, TearDownFailureIsShownAndStopsThere) {
    manager->initializeOpenGL();
    znRecord::failCall("wglDeleteContext");
    manager->destroyOpenGL();
    EXPECT_EQ(boxes(), Texts{"znVelmora Context Error|Could not destroy the rendercontext.|16"});
    EXPECT_TRUE(znRecord::callsNamed("ReleaseDC").empty());
}

TEST_F(RenderManager, EnvironmentFailuresAtTearDownReachTheHost) {
    manager->initializeOpenGL();
    env.throwing = {"destroyEnvironment"};
    EXPECT_THROW(manager->destroyOpenGL(), std::runtime_error);
    EXPECT_EQ(znRecord::liveListNames(), 96);
}

TEST_F(RenderManager, WindowRectangleIsClampedAtZeroAndOne) {
    manager->setWindowSize(-5, -7, 0, -3);
    int x = -1, y = -1, width = -1, height = -1;
    manager->getWindowsSize(x, y, width, height);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{0, 0, 1, 1}));
    manager->setWindowSize(3, 4, 640, 480);
    manager->getWindowsPos(x, y);
    manager->getWindowsSize(x, y, width, height);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{3, 4, 640, 480}));
    // The position alone, with the same clamping, touching nothing else.
    manager->setWindowSize(-1, 9, 2, 2);
    x = y = width = height = -1;
    manager->getWindowsPos(x, y);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{0, 9, -1, -1}));
}

// What renderFunc does when called right after a rendered frame: the Sleep it makes, or "none".
std::string callRightAfterAFrame(znVelmora& manager) {
    const unsigned int rate = manager.getDestinatedFPS();
    manager.setDestinatedFPS(0);
    manager.renderFunc();
    manager.setDestinatedFPS(rate);
    znRecord::clearCalls();
    manager.renderFunc();
    const Texts slept = znRecord::callsNamed("Sleep");
    return slept.empty() ? "none" : slept[0];
}

// What renderFunc does when the counter reads `back` milliseconds before the last frame's
// reading: the Sleep it makes, or "drew". The pacing figure is then back less 2 (the allowance)
// below zero, compared as unsigned, so a counter 1 ms back gives figure 1 and 2 ms back figure 0.
std::string callWithTheCounterBack(znVelmora& manager, long long back) {
    const unsigned int rate = manager.getDestinatedFPS();
    manager.setDestinatedFPS(0);
    manager.renderFunc();
    manager.setDestinatedFPS(rate);
    znRecord::advanceCounter(-back);
    znRecord::clearCalls();
    manager.renderFunc();
    const Texts slept = znRecord::callsNamed("Sleep");
    if (!slept.empty())
        return slept[0];
    return znRecord::callsNamed("SwapBuffers").empty() ? "nothing" : "drew";
}

TEST_F(RenderManager, RateOneThousandGivesAnIntervalOfOneMillisecond) {
    startUp();
    // Figures 0 and 1 tell intervals 0, 1 and 2 apart.
    const std::pair<unsigned int, Texts> rates[] = {
        {0, {"drew", "drew"}}, {1000, {"Sleep(1)", "drew"}}, {500, {"Sleep(2)", "Sleep(1)"}}};
    for (const auto& rate : rates) {
        manager->setDestinatedFPS(rate.first);
        EXPECT_EQ((Texts{callWithTheCounterBack(*manager, 2), callWithTheCounterBack(*manager, 1)}),
                  rate.second)
            << rate.first;
    }
}

TEST_F(RenderManager, TargetRateSetsTheFrameIntervalUpToOneThousand) {
    startUp();
    manager->setDestinatedFPS(1001);
    EXPECT_EQ(manager->getDestinatedFPS(), 100u);
    // The interval less the 2 ms allowance.
    EXPECT_EQ(callRightAfterAFrame(*manager), "Sleep(8)");
    const std::pair<unsigned int, const char*> rates[] = {
        {3, "Sleep(331)"}, {7, "Sleep(140)"}, {60, "Sleep(14)"}, {1000, "none"}, {0, "none"}};
    for (const auto& rate : rates) {
        manager->setDestinatedFPS(rate.first);
        EXPECT_EQ(manager->getDestinatedFPS(), rate.first);
        EXPECT_EQ(callRightAfterAFrame(*manager), rate.second) << rate.first;
    }
}

} // namespace
