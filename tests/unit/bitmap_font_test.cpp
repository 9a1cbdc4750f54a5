#include <memory>

#include "RecordTest.h"
#include "znGLBitmapFont.h"
#include "znRenderContext.h"

namespace {

class BitmapFont : public RecordTest {
  protected:
    void SetUp() override {
        RecordTest::SetUp();
        context = bind();
        znRecord::clearCalls();
    }

    // The CreateFontA call that createFont made.
    static std::string fontRequest() { return znRecord::callsNamed("CreateFontA").back(); }
    static std::string fontCharSet() {
        for (auto call = znRecord::calls().rbegin(); call != znRecord::calls().rend(); ++call)
            if (call->name == "CreateFontA")
                return call->args.at(8);
        return "none";
    }

    std::unique_ptr<znRenderContext> context;
};

// Where the font's calls come in start-up is the manager's transcript's; here, what they ask for.
TEST_F(BitmapFont, BuildsNinetySixGlyphListsFromATemporaryFont) {
    znGLBitmapFont font;
    font.createFont("Arial", 15, 700, true, false);
    EXPECT_EQ(znRecord::callsNamed("glGenLists"), Texts{"glGenLists(96)"});
    EXPECT_EQ(fontRequest(), "CreateFontA(15, 0, 0, 0, 700, 1, 0, 0, 0, 4, 0, 4, 0, \"Arial\")");
    // In the current context's device context the temporary font is selected for the glyphs
    // alone, and deleted once the previous font is back.
    EXPECT_EQ(znRecord::callsNamed("wglGetCurrentDC").size(), 1u);
    Texts fontObjects;
    for (const std::string& call : znRecord::callTexts())
        if (call.rfind("glGenLists", 0) != 0 && call.rfind("wglGetCurrentDC", 0) != 0 &&
            call.rfind("CreateFontA", 0) != 0)
            fontObjects.push_back(call);
    EXPECT_EQ(fontObjects,
              (Texts{"SelectObject(0x1001, 0x3001)", "wglUseFontBitmapsA(0x1001, 32, 96, 1)",
                     "SelectObject(0x1001, 0x3000)", "DeleteObject(0x3001)"}));
    ASSERT_EQ(znRecord::listBlocks().size(), 1u);
    EXPECT_TRUE(znRecord::listBlocks()[0].built);
    EXPECT_EQ(znRecord::liveFonts(), 0);
}

TEST_F(BitmapFont, WeightsOutsideOneToNineHundredBecomeNormal) {
    znGLBitmapFont font;
    const std::pair<int, int> weights[] = {{0, 400}, {-1, 400}, {1, 1}, {900, 900}, {901, 400}};
    for (const auto& weight : weights) {
        font.createFont("Arial", 12, weight.first, false, true);
        EXPECT_EQ(fontRequest(), "CreateFontA(12, 0, 0, 0, " + std::to_string(weight.second) +
                                     ", 0, 1, 0, 0, 4, 0, 4, 0, \"Arial\")");
        font.clearFont();
    }
}

TEST_F(BitmapFont, OnlyTheWholeNameSymbolInAnyCaseSelectsTheSymbolCharacterSet) {
    znGLBitmapFont font;
    const std::pair<const char*, const char*> faces[] = {
        {"symbol", "2"}, {"SyMBoL", "2"}, {"Symbolic", "0"}, {"Sym", "0"}, {nullptr, "0"}};
    for (const auto& face : faces) {
        font.createFont(face.first, 10, 400, false, false);
        EXPECT_EQ(fontCharSet(), face.second) << fontRequest();
        font.clearFont();
    }
    EXPECT_EQ(fontRequest(), "CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 4, 0, 4, 0, \"\")");
}

// The overlay's calls around the raster position it sets: the one transcript of the overlay,
// which the frame transcript leaves out. Their order is what keeps the host's state: everything is
// pushed first and popped last, with one push and one pop around it all (a nested pair would hide
// the colour's change from Mesa's outer pop).
Texts overlayCalls(const std::string& rasterPosition) {
    return {"glPushAttrib(0xFFFFF)",
            "glDisable(0x0B50)",
            "glDisable(0x0B71)",
            "glDisable(0x0DE1)",
            "glMatrixMode(0x1701)",
            "glPushMatrix()",
            "glLoadIdentity()",
            "glOrtho(-1.1, 1.1, -1.1, 1.1, 0.1, 10)",
            "glMatrixMode(0x1700)",
            "glLoadIdentity()",
            "glColor3f(0, 1, 1)",
            "glTranslatef(0, 0, -0.1)",
            rasterPosition,
            "glListBase(4294967265)",
            "glCallLists(2, 0x1401, \"Hi\")",
            "glMatrixMode(0x1701)",
            "glPopMatrix()",
            "glPopAttrib()"};
}

TEST_F(BitmapFont, OverlaySavesEverythingAndDrawsOverTheViewport) {
    znGLBitmapFont font;
    font.createFont("Arial", 15, 700, true, false);
    znRecord::clearCalls();
    font.printString("Hi", -0.65f, 0.42f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(znRecord::callTexts(), overlayCalls("glRasterPos2f(-0.65, 0.42)"));

    znRecord::clearCalls();
    font.printString("Hi", 0.5f, 0.25f, 0.75f, 0.0f, 1.0f, 1.0f, false);
    EXPECT_EQ(znRecord::callTexts(), overlayCalls("glRasterPos3f(0.5, 0.25, 0.75)"));
}

TEST_F(BitmapFont, InPlaceSetsTheColourBeforeTheRasterPositionAndRestoresOnlyTheListBase) {
    znGLBitmapFont font;
    font.createFont("Arial", 15, 700, true, false);
    znRecord::clearCalls();
    font.printString("A\xC8~", 1.0f, 2.0f, 3.0f, 0.5f, 0.25f, 0.125f, true);
    EXPECT_EQ(
        znRecord::callTexts(),
        (Texts{"glColor3f(0.5, 0.25, 0.125)", "glPushAttrib(0x20000)", "glRasterPos3f(1, 2, 3)",
               "glListBase(4294967265)", "glCallLists(3, 0x1401, \"A\\xC8~\")", "glPopAttrib()"}));
}

TEST_F(BitmapFont, NothingIsCalledWithoutListsOrText) {
    znGLBitmapFont font;
    font.printString("x", 0, 0, 1, 1, 1);
    font.printString("x", 0, 0, 0, 1, 1, 1, true);
    font.clearFont();
    font.createFont("Arial", 15, 700, true, false);
    znRecord::clearCalls();
    font.printString(nullptr, 0, 0, 1, 1, 1);
    font.printString(nullptr, 0, 0, 0, 1, 1, 1, false);
    EXPECT_TRUE(znRecord::calls().empty());
    font.printString("", 0, 0, 1, 1, 1);
    EXPECT_EQ(znRecord::callsNamed("glCallLists"), Texts{"glCallLists(0, 0x1401, \"\")"});
    EXPECT_EQ(znRecord::callsNamed("glTranslatef").size(), 1u);
}

TEST_F(BitmapFont, ClearFontDeletesTheListsButKeepsTheirName) {
    znGLBitmapFont font;
    font.createFont("Arial", 15, 700, true, false);
    font.clearFont();
    EXPECT_EQ(znRecord::callsNamed("glDeleteLists"), Texts{"glDeleteLists(1, 96)"});
    EXPECT_EQ(znRecord::liveListNames(), 0);
    znRecord::clearCalls();
    font.printString("x", 0, 0, 0, 0, 0, 0, true);
    EXPECT_EQ(znRecord::callsNamed("glListBase"), Texts{"glListBase(4294967265)"});
}

TEST_F(BitmapFont, CopiesShareTheListsOfTheirSource) {
    znGLBitmapFont font;
    font.createFont("Arial", 15, 700, true, false);
    font.createFont("Arial", 15, 700, true, false);
    znGLBitmapFont copy(font);
    znGLBitmapFont assigned;
    assigned = font;
    znRecord::clearCalls();
    copy.printString("x", 0, 0, 0, 0, 0, 0, true);
    assigned.printString("x", 0, 0, 0, 0, 0, 0, true);
    EXPECT_EQ(znRecord::callsNamed("glListBase"), (Texts{"glListBase(65)", "glListBase(65)"}));
    // The first block was overwritten, not freed.
    EXPECT_EQ(znRecord::liveListNames(), 192);
    copy.clearFont();
    EXPECT_EQ(znRecord::liveListNames(), 96);
}

TEST_F(BitmapFont, AManualDeviceContextServesEveryLaterFont) {
    znRenderContext other(window(0x20));
    other.initRenderContext();
    context->makeCurrent();
    znGLBitmapFont font;
    font.setDeviceContextManual(other.getDC());
    font.createFont("Arial", 15, 700, true, false);
    font.createFont("Arial", 15, 700, true, false);
    EXPECT_TRUE(znRecord::callsNamed("wglGetCurrentDC").empty());
    EXPECT_EQ(
        znRecord::callsNamed("wglUseFontBitmapsA"),
        (Texts{"wglUseFontBitmapsA(0x1002, 32, 96, 1)", "wglUseFontBitmapsA(0x1002, 32, 96, 97)"}));
}

TEST_F(BitmapFont, TheCapturedDeviceContextServesLaterFontsUntilCaptureIsRestored) {
    znRenderContext other(window(0x20));
    other.initRenderContext();
    context->makeCurrent();
    znGLBitmapFont font;
    font.createFont("Arial", 15, 700, true, false);
    // Another context is current now, but the font keeps the device context it captured.
    other.makeCurrent();
    font.createFont("Arial", 15, 700, true, false);
    EXPECT_EQ(znRecord::callsNamed("wglGetCurrentDC").size(), 1u);
    // A null manual device context brings the capture back, from whatever is current then.
    font.setDeviceContextManual(nullptr);
    font.createFont("Arial", 15, 700, true, false);
    EXPECT_EQ(znRecord::callsNamed("wglGetCurrentDC").size(), 2u);
    EXPECT_EQ(
        znRecord::callsNamed("wglUseFontBitmapsA"),
        (Texts{"wglUseFontBitmapsA(0x1001, 32, 96, 1)", "wglUseFontBitmapsA(0x1001, 32, 96, 97)",
               "wglUseFontBitmapsA(0x1002, 32, 96, 193)"}));
}

TEST_F(BitmapFont, AFailedFontLeavesNoListsBehind) {
    znGLBitmapFont font;
    znRecord::failCall("CreateFontA", 1);
    font.createFont("Arial", 15, 700, true, false);
    EXPECT_EQ(znRecord::callsNamed("glDeleteLists"), Texts{"glDeleteLists(1, 96)"});
    EXPECT_EQ(znRecord::liveListNames(), 0);
    EXPECT_TRUE(znRecord::callsNamed("wglUseFontBitmapsA").empty());
    znRecord::clearCalls();
    font.printString("x", 0, 0, 1, 1, 1);
    font.clearFont();
    EXPECT_TRUE(znRecord::calls().empty());
}

TEST_F(BitmapFont, NoListNamesMeansNoFontIsMade) {
    znGLBitmapFont font;
    znRecord::failCall("glGenLists", 1);
    font.createFont("Arial", 15, 700, true, false);
    EXPECT_EQ(znRecord::callTexts(), Texts{"glGenLists(96)"});
    font.printString("x", 0, 0, 1, 1, 1);
    EXPECT_EQ(znRecord::calls().size(), 1u);
}

} // namespace
