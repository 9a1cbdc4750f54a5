// FreeType fonts drawn into a GLX pbuffer's back buffer and read back.
#include <gtest/gtest.h>

#include <GL/glx.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/freetype/ft_font.h"

using zn::freetype::FreeTypeFont;

namespace {

const int kWidth = 256, kHeight = 128;
const int kPenX = 20, kBaseline = 40;

// Where a string drew: its lit pixels, their bounds and where the raster position ended.
struct Ink {
    int lit = 0, left = kWidth, right = -1, bottom = kHeight, top = -1;
    float penX = 0;
    std::vector<GLubyte> red = std::vector<GLubyte>(kWidth * kHeight);
    int height() const { return top - bottom + 1; }
    bool at(int x, int y) const { return red[y * kWidth + x] > 128; }
    int litInRow(int y) const {
        int lit = 0;
        for (int x = 0; x < kWidth; ++x)
            lit += at(x, y);
        return lit;
    }
    int litInColumn(int x) const {
        int lit = 0;
        for (int y = 0; y < kHeight; ++y)
            lit += at(x, y);
        return lit;
    }
};

std::shared_ptr<zn::native::Font> font(const char* face, int height, int weight = 400,
                                       DWORD italic = 0) {
    const zn::native::FontRequest request{height,       0, 0, 0, weight, italic, 0, 0,
                                          ANSI_CHARSET, 0, 0, 0, 0,      face};
    return zn::freetype::createFont(request);
}

std::string familyOf(const std::shared_ptr<zn::native::Font>& made) {
    return made ? static_cast<FreeTypeFont&>(*made).family : "(none)";
}

bool installed(const char* family) {
    const std::string command = std::string("fc-list -q '") + family + "'";
    return std::system(command.c_str()) == 0;
}

// A GLX pbuffer with a context of its own, on a connection of its own, for one thread.
class Pbuffer {
  public:
    Pbuffer() : display(XOpenDisplay(nullptr)) {
        if (!display)
            return;
        const int attributes[] = {GLX_DRAWABLE_TYPE,
                                  GLX_PBUFFER_BIT,
                                  GLX_RENDER_TYPE,
                                  GLX_RGBA_BIT,
                                  GLX_RED_SIZE,
                                  8,
                                  GLX_DOUBLEBUFFER,
                                  True,
                                  None};
        int count = 0;
        GLXFBConfig* configs =
            glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
        if (!configs || count == 0)
            return;
        const int size[] = {GLX_PBUFFER_WIDTH, kWidth, GLX_PBUFFER_HEIGHT, kHeight, None};
        pbuffer = glXCreatePbuffer(display, configs[0], size);
        context = glXCreateNewContext(display, configs[0], GLX_RGBA_TYPE, nullptr, True);
        XFree(configs);
    }
    ~Pbuffer() {
        if (context)
            glXDestroyContext(display, context);
        if (pbuffer)
            glXDestroyPbuffer(display, pbuffer);
        if (display)
            XCloseDisplay(display);
    }
    Pbuffer(const Pbuffer&) = delete;
    Pbuffer& operator=(const Pbuffer&) = delete;

    // Makes the context current with pixel coordinates; false when there is none.
    bool makeCurrent() {
        if (!context || !glXMakeContextCurrent(display, pbuffer, pbuffer, context))
            return false;
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        return true;
    }
    void release() { glXMakeContextCurrent(display, None, None, nullptr); }

  private:
    Display* display;
    GLXPbuffer pbuffer = None;
    GLXContext context = nullptr;
};

// Builds the font's lists 0..255 at `lists` and draws the text with them in white on black
// from the pen, before any swap, then reads it back.
Ink draw(zn::native::Font* with, const char* text, GLuint lists) {
    EXPECT_TRUE(zn::freetype::useFontBitmaps(with, 0, 256, lists));
    glDrawBuffer(GL_BACK);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glRasterPos2i(kPenX, kBaseline);
    glListBase(lists);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    Ink ink;
    GLfloat position[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    ink.penX = position[0];
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RED, GL_UNSIGNED_BYTE, ink.red.data());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (ink.at(x, y)) {
                ++ink.lit;
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.bottom = std::min(ink.bottom, y), ink.top = std::max(ink.top, y);
            }
    return ink;
}

class FreeTypeFonts : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        XInitThreads(); // a test draws on several threads, each on a connection of its own
        // Open until exit, as a host's connection is: closing the last GLX connection unloads
        // Mesa's driver, whose own leaks LeakSanitizer then reports.
        screen = new Pbuffer;
    }
    void SetUp() override {
        if (!screen->makeCurrent())
            GTEST_SKIP() << "no GLX pbuffer context (run under xvfb-run)";
        lists = glGenLists(256);
    }
    void TearDown() override {
        glDeleteLists(lists, 256);
        screen->release();
    }

    Ink draw(zn::native::Font* with, const char* text) { return ::draw(with, text, lists); }
    Ink draw(const std::shared_ptr<zn::native::Font>& with, const char* text) {
        EXPECT_TRUE(with);
        return with ? draw(with.get(), text) : Ink();
    }

    static Pbuffer* screen;
    GLuint lists = 0;
};

Pbuffer* FreeTypeFonts::screen = nullptr;

} // namespace

TEST_F(FreeTypeFonts, GlyphsStandOnTheBaselineAtThePenAndAdvanceIt) {
    const auto arial = font("Arial", -24);
    const Ink a = draw(arial, "A");
    EXPECT_EQ(a.bottom, kBaseline);
    EXPECT_GE(a.top, kBaseline + 14);
    EXPECT_NEAR(a.left, kPenX, 1);
    EXPECT_GE(a.penX, a.right);
    // Upright and unmirrored: the foot of an L is at its bottom, its stem at its left.
    const Ink l = draw(arial, "L");
    EXPECT_GT(l.litInRow(l.bottom), 2 * l.litInRow(l.top));
    EXPECT_GT(l.litInColumn(l.left), 2 * l.litInColumn(l.right));
    // A descender reaches below the baseline by its bearing.
    EXPECT_LT(draw(arial, "p").bottom, kBaseline - 3);
    // Each glyph advances the next: two draw twice as wide as one.
    EXPECT_NEAR(draw(arial, "AA").penX - kPenX, 2 * (a.penX - kPenX), 0.01);
}

TEST_F(FreeTypeFonts, BlankGlyphsDrawNothingButAdvance) {
    const Ink space = draw(font("Arial", -24), " ");
    EXPECT_EQ(space.lit, 0);
    EXPECT_GT(space.penX, kPenX + 3);
    EXPECT_GT(draw(nullptr, " ").penX, kPenX + 3);
}

// The same pixel size as the X11 back-end's: capitals are about 0.69 of Liberation Sans' em.
TEST_F(FreeTypeFonts, HeightsReadAsGdiReadsThem) {
    EXPECT_NEAR(draw(font("Arial", -40), "H").height(), 0.69 * 40, 1.5); // character height
    EXPECT_NEAR(draw(font("Arial", 40), "H").height(), 0.69 * 35, 1.5);  // cell height
    EXPECT_NEAR(draw(font("Arial", 0), "H").height(), 0.69 * 12, 1.5);   // the default
    EXPECT_GT(draw(font("Arial", -30), "H").height(), draw(font("Arial", -20), "H").height());
}

TEST_F(FreeTypeFonts, BoldIsHeavierThanNormal) {
    const int normal = draw(font("Arial", -24, 400), "W").lit;
    EXPECT_GT(draw(font("Arial", -24, 700), "W").lit, normal * 5 / 4);
    EXPECT_EQ(draw(font("Arial", -24, 500), "W").lit, normal); // lighter than FW_SEMIBOLD
}

TEST_F(FreeTypeFonts, ItalicTakesTheItalicFace) {
    const auto italic = font("Arial", -24, 400, 1);
    ASSERT_TRUE(italic);
    EXPECT_TRUE(static_cast<FreeTypeFont&>(*italic).face->style_flags & FT_STYLE_FLAG_ITALIC);
}

TEST_F(FreeTypeFonts, ArialIsLiberationSans) {
    if (!installed("Liberation Sans"))
        GTEST_SKIP() << "fonts-liberation is not installed";
    EXPECT_EQ(familyOf(font("Arial", -12)), "Liberation Sans");
    EXPECT_EQ(familyOf(font("Times New Roman", -12)), "Liberation Serif");
}

TEST_F(FreeTypeFonts, UnknownAndMissingFacesTakeTheDefaultFace) {
    EXPECT_GT(draw(font("No Such Face Anywhere", -24), "A").lit, 0);
    EXPECT_GT(draw(font("", -24), "A").lit, 0);
    EXPECT_GT(draw(font(nullptr, -24), "A").lit, 0);
}

// It stands in for X11's "fixed": monospaced, its capitals about 9 pixels high.
TEST_F(FreeTypeFonts, TheSystemFontIsASmallMonospacedFace) {
    const Ink capital = draw(nullptr, "H");
    EXPECT_NEAR(capital.height(), 9, 1.5);
    EXPECT_EQ(draw(nullptr, "i").penX, capital.penX);
}

TEST_F(FreeTypeFonts, TheHostsPixelStorageNeitherChangesGlyphsNorIsChanged) {
    const auto arial = font("Arial", -24);
    const int lit = draw(arial, "W").lit;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
    EXPECT_EQ(draw(arial, "W").lit, lit);
    GLint alignment = 0, lsbFirst = 0, rowLength = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_UNPACK_LSB_FIRST, &lsbFirst);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(alignment, 8);
    EXPECT_EQ(lsbFirst, GL_TRUE);
    EXPECT_EQ(rowLength, 3);
    glPopClientAttrib();
}

TEST_F(FreeTypeFonts, RefusesWithoutAListNameOrAContext) {
    const auto arial = font("Arial", -12);
    EXPECT_FALSE(zn::freetype::useFontBitmaps(arial.get(), 32, 96, 0));
    EXPECT_FALSE(zn::freetype::useFontBitmaps(arial.get(), 32, 96, 0xFFFFFFF0));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    screen->release();
    EXPECT_FALSE(zn::freetype::useFontBitmaps(arial.get(), 32, 96, lists));
}

// One font drawn on several threads at once while others make and free fonts: each thread draws
// the same glyphs.
TEST_F(FreeTypeFonts, FontsAreMadeAndDrawnOnSeveralThreadsAtOnce) {
    const auto shared = font("Arial", -24, 700);
    const int lit = draw(shared, "W@").lit;
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 20; ++i)
                EXPECT_TRUE(font(t ? "Arial" : "Courier New", -10 - i, 400 + 300 * (i % 2)));
        });
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&shared, lit] {
            Pbuffer own;
            ASSERT_TRUE(own.makeCurrent());
            const GLuint lists = glGenLists(256);
            for (int i = 0; i < 10; ++i)
                EXPECT_EQ(::draw(shared.get(), "W@", lists).lit, lit);
            own.release();
        });
    for (std::thread& thread : threads)
        thread.join();
}
