#include <atomic>
#include <memory>
#include <thread>

#include "RecordTest.h"
#include "context/glEntryPoints.h"
#include "znGL.h"
#include "znRenderContext.h"

namespace {

using Extensions = RecordTest;

// Each of the table's nine once; their names and order among the rest of start-up are the
// manager's transcript's.
TEST_F(Extensions, CompleteDriverResolvesAllNineAndSwitchesVsyncOff) {
    auto context = bind();
    Texts looked;
    for (const zn::GLEntryPoint& entry : zn::kGLEntryPoints)
        looked.push_back("wglGetProcAddress(\"" + std::string(entry.name) + "\")");
    EXPECT_EQ(znRecord::callsNamed("wglGetProcAddress"), looked);
    EXPECT_EQ(znRecord::callsNamed("wglSwapIntervalEXT"), Texts{"wglSwapIntervalEXT(0)"});
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject));
    EXPECT_TRUE(znGL::isGLExtensionsSupported(GLExtensionPointParameters));
}

TEST_F(Extensions, EachMissingEntryPointHasItsOwnBoxAndClearsOnlyItsGroup) {
    znRecord::removeProc("glPointParameterfvARB");
    znRecord::removeProc("glActiveTextureARB");
    auto context = bind();
    EXPECT_EQ(boxes(), (Texts{"Error|glPointParameterfvARB not supported|0",
                              "Error|glActiveTextureARB not supported|48"}));
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtensionPointParameters));
    EXPECT_TRUE(znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject));
    // The group's other entry point is still resolved and reachable.
    znRecord::clearCalls();
    znGL::glPointParameterfARB(0x8126, 2.5f);
    EXPECT_EQ(znRecord::callTexts(), Texts{"glPointParameterfARB(0x8126, 2.5)"});
}

TEST_F(Extensions, AddressesSomeDriversGiveForMissingNamesCountAsMissing) {
    znRecord::answerProc("glBindBufferARB", 1);
    znRecord::answerProc("glGenBuffersARB", 2);
    znRecord::answerProc("glActiveTextureARB", 3);
    znRecord::answerProc("wglSwapIntervalEXT", -1);
    auto context = bind();
    EXPECT_EQ(boxes(), (Texts{"Error|glBindBufferARB not supported|0",
                              "Error|glGenBuffersARB not supported|0",
                              "Error|glActiveTextureARB not supported|48",
                              "Error|wglSwapIntervalEXT not supported, VSYNC is on.\n|0"}));
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject));
    // None of them is ever called.
    unsigned int buffer = 0;
    znGL::glGenBuffersARB(1, &buffer);
    znGL::glBindBufferARB(0x8892, 1);
    znGL::glActiveTextureARB(0x84C1);
    znGL::wglSwapIntervalEXT(1);
}

TEST_F(Extensions, MissingSwapControlLeavesVsyncAloneAndSaysSo) {
    znRecord::removeProc("wglSwapIntervalEXT");
    auto context = bind();
    EXPECT_EQ(boxes(), Texts{"Error|wglSwapIntervalEXT not supported, VSYNC is on.\n|0"});
    EXPECT_TRUE(znRecord::callsNamed("wglSwapIntervalEXT").empty());
}

TEST_F(Extensions, DriverWithoutAnyShowsNineBoxesInStepOrder) {
    znRecord::failCall("wglGetProcAddress");
    auto context = bind();
    EXPECT_EQ(boxes(), (Texts{"Error|glPointParameterfARB not supported|0",
                              "Error|glPointParameterfvARB not supported|0",
                              "Error|glBindBufferARB not supported|0",
                              "Error|glGenBuffersARB not supported|0",
                              "Error|glBufferDataARB not supported|0",
                              "Error|glMultiTexCoord2fARB not supported|48",
                              "Error|glActiveTextureARB not supported|48",
                              "Error|glClientActiveTextureARB not supported|48",
                              "Error|wglSwapIntervalEXT not supported, VSYNC is on.\n|0"}));
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtension(3)));
    // Calls through missing entry points do nothing rather than jump to null.
    znGL::glBindBufferARB(0x8892, 1);
    znGL::glActiveTextureARB(0x84C1);
    znGL::wglSwapIntervalEXT(1);
}

TEST_F(Extensions, SupportQueryTestsTheGroupsBitwise) {
    znRecord::removeProc("glBufferDataARB");
    auto context = bind();
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject));
    EXPECT_TRUE(znGL::isGLExtensionsSupported(GLExtension(3)));
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtension(0)));
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtension(4)));
}

TEST_F(Extensions, ASecondLoadDecidesBothGroupsAnew) {
    auto context = bind();
    ASSERT_TRUE(znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject));
    znRecord::removeProc("glGenBuffersARB");
    context->initRenderContext();
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtensionVertexBufferObject));
    EXPECT_TRUE(znGL::isGLExtensionsSupported(GLExtensionPointParameters));
}

TEST_F(Extensions, EachTextureUnitSelectorSkipsOnlyItsOwnRepeats) {
    auto context = bind();
    znRecord::clearCalls();
    znGL::glActiveTextureARB(0x84C0);
    znGL::glActiveTextureARB(0x84C1);
    // The client unit is still 0, whatever the active unit is.
    znGL::glClientActiveTextureARB(0x84C1);
    znGL::glClientActiveTextureARB(0x84C0);
    znGL::glActiveTextureARB(0x84C0);
    EXPECT_EQ(znRecord::callTexts(),
              (Texts{"glActiveTextureARB(0x84C1)", "glClientActiveTextureARB(0x84C1)",
                     "glClientActiveTextureARB(0x84C0)", "glActiveTextureARB(0x84C0)"}));
}

TEST_F(Extensions, ASecondLoadStartsBothTextureUnitsAtUnit0) {
    auto context = bind();
    znGL::glActiveTextureARB(0x84C3);
    znGL::glClientActiveTextureARB(0x84C2);
    context->initRenderContext();
    znRecord::clearCalls();
    // The reload made a new rendering context, whose units are both 0.
    znGL::glClientActiveTextureARB(0x84C0);
    znGL::glClientActiveTextureARB(0x84C3);
    znGL::glActiveTextureARB(0x84C0);
    EXPECT_EQ(znRecord::callTexts(), Texts{"glClientActiveTextureARB(0x84C3)"});
}

TEST_F(Extensions, ForwardersPassArgumentsUnchanged) {
    auto context = bind();
    znRecord::clearCalls();
    unsigned int buffers[2] = {0, 0};
    znGL::glGenBuffersARB(2, buffers);
    znGL::glBindBufferARB(0x8892, buffers[1]);
    znGL::glBufferDataARB(0x8892, 64, nullptr, 0x88E4);
    float sizes[1] = {3.0f};
    znGL::glPointParameterfvARB(0x8127, sizes);
    znGL::glMultiTexCoord2fARB(0x84C1, 0.25f, 0.75f);
    znGL::wglSwapIntervalEXT(1);
    EXPECT_EQ(
        znRecord::callTexts(),
        (Texts{"glGenBuffersARB(2)", "glBindBufferARB(0x8892, 2)",
               "glBufferDataARB(0x8892, 64, NULL, 0x88E4)", "glPointParameterfvARB(0x8127, 3)",
               "glMultiTexCoord2fARB(0x84C1, 0.25, 0.75)", "wglSwapIntervalEXT(1)"}));
    EXPECT_EQ(buffers[0], 1u);
}

TEST_F(Extensions, BufferSizesReachTheDriverPointerSizedWithTheirSign) {
    auto context = bind();
    znRecord::clearCalls();
    znGL::glBufferDataARB(0x8892, -1, nullptr, 0x88E4);
    znGL::glBufferDataARB(0x8892, 0x7fffffff, nullptr, 0x88E4);
    // Through an int-typed entry point the driver would read a negative size as about 4 GiB.
    EXPECT_EQ(znRecord::callTexts(), (Texts{"glBufferDataARB(0x8892, -1, NULL, 0x88E4)",
                                            "glBufferDataARB(0x8892, 2147483647, NULL, 0x88E4)"}));
}

TEST_F(Extensions, TheRecordedDriverOffersExactlyTheTablesEntryPoints) {
    auto context = bind();
    for (const zn::GLEntryPoint& entry : zn::kGLEntryPoints)
        EXPECT_NE(wglGetProcAddress(entry.name), nullptr) << entry.name;
    EXPECT_EQ(wglGetProcAddress("glBufferSubDataARB"), nullptr);
}

TEST_F(Extensions, TheMostRecentlyConstructedTableServesWhateverContextIsCurrent) {
    znRecord::removeProc("glBindBufferARB");
    auto first = bind(0x10);
    znRenderContext second(window(0x20));
    first->makeCurrent();
    // The second table is current but not loaded: nothing supported, nothing resolved.
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtensionPointParameters));
    EXPECT_TRUE(znGL::hasGLContext());
}

TEST_F(Extensions, DestroyingTheCurrentTableLeavesAnEmptyOneBehind) {
    {
        auto context = bind();
        ASSERT_TRUE(znGL::isGLExtensionsSupported(GLExtensionPointParameters));
        context->destroyRenderContext();
    }
    EXPECT_TRUE(znGL::hasGLContext());
    EXPECT_FALSE(znGL::isGLExtensionsSupported(GLExtension(3)));
    znRecord::clearCalls();
    znGL::glActiveTextureARB(0x84C0);
    znGL::glActiveTextureARB(0x84C2);
    znGL::glPointParameterfARB(0x8126, 1.0f);
    EXPECT_TRUE(znRecord::calls().empty());
}

// Managers on other threads come and go while this one calls the znGL functions: each call
// reads a table that stays alive for the call (AddressSanitizer sees any that does not).
TEST_F(Extensions, RenderContextsComingAndGoingOnAnotherThreadLeaveCallsSafe) {
    std::atomic<bool> running{true};
    std::thread other([&] {
        for (int round = 0; round < 300000; ++round)
            znRenderContext transient(window(0x30));
        running = false;
    });
    unsigned int unit = 0x84C0;
    while (running) {
        znGL::isGLExtensionsSupported(GLExtensionPointParameters);
        znGL::glActiveTextureARB(unit ^= 1);
        znGL::glBindBufferARB(0x8892, 1);
    }
    other.join();
    EXPECT_TRUE(znGL::hasGLContext());
}

TEST_F(Extensions, MaxTextureUnitsComesFromTheCurrentContext) {
    EXPECT_EQ(znGL::getMaxTextureUnits(), 0u);
    znRecord::setMaxTextureUnits(8);
    auto context = bind();
    EXPECT_EQ(znGL::getMaxTextureUnits(), 8u);
    EXPECT_EQ(znRecord::callsNamed("glGetIntegerv").back(), "glGetIntegerv(0x84E2)");
}

} // namespace
