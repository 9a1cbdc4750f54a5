// GDI fonts and the glyph lists built from them.
#include <climits>

#include "Seam.h"

namespace {

HFONT createFont(const char* face, int height = 15) {
    return CreateFontA(height, 0, 0, 0, 700, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

class Fonts : public Seam {
  protected:
    void SetUp() override {
        Seam::SetUp();
        dc = GetDC(window.handle());
        ASSERT_NE(dc, nullptr);
    }
    void TearDown() override { ReleaseDC(window.handle(), dc); }

    SeamWindow window;
    HDC dc = nullptr;
};

TEST_F(Fonts, AnyFaceGivesAFont) {
    for (const char* face :
         {"Arial", "Symbol", "No Such Face", "", static_cast<const char*>(nullptr)}) {
        HFONT font = createFont(face);
        EXPECT_NE(font, nullptr) << (face ? face : "NULL");
        EXPECT_TRUE(DeleteObject(font));
    }
    // So does any height: in pixels of cell or of character, or beyond any.
    for (int height : {-14, INT_MIN}) {
        HFONT font = createFont("Arial", height);
        EXPECT_NE(font, nullptr) << height;
        EXPECT_TRUE(DeleteObject(font));
    }
}

TEST_F(Fonts, SelectingAnswersThePreviousObject) {
    HFONT first = createFont("Arial"), second = createFont("Times New Roman");
    HGDIOBJ original = SelectObject(dc, first);
    EXPECT_NE(original, nullptr);
    EXPECT_EQ(SelectObject(dc, second), first);
    EXPECT_EQ(SelectObject(dc, original), second);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
}

TEST_F(Fonts, ADeletedFontIsGone) {
    HFONT font = createFont("Arial");
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(SelectObject(dc, font), nullptr);
}

TEST_F(Fonts, ASelectedFontIsNotDeleted) {
    HDC screen = GetDC(nullptr);
    for (HDC target : {dc, screen}) {
        HFONT font = createFont("Arial");
        HGDIOBJ original = SelectObject(target, font);
        if (seam::onWine()) {
            // NOTE: Wine answers TRUE at once and deletes the font when it is deselected;
            // Windows refuses to delete it.
            EXPECT_TRUE(DeleteObject(font));
            EXPECT_EQ(SelectObject(target, original), font);
            EXPECT_FALSE(DeleteObject(font));
            continue;
        }
        EXPECT_FALSE(DeleteObject(font));
        EXPECT_EQ(SelectObject(target, original), font);
        EXPECT_TRUE(DeleteObject(font));
    }
    ReleaseDC(nullptr, screen);
}

TEST_F(Fonts, DeletingTheOriginalFontDoesNoHarm) {
    HFONT font = createFont("Arial");
    HGDIOBJ original = SelectObject(dc, font);
    SelectObject(dc, original);
    EXPECT_TRUE(DeleteObject(original));
    EXPECT_EQ(SelectObject(dc, font), original);
    EXPECT_EQ(SelectObject(dc, original), font);
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(Fonts, BitmapsNeedACurrentContext) {
    HFONT font = createFont("Arial");
    HGDIOBJ original = SelectObject(dc, font);
    HDC screen = GetDC(nullptr);
    // NOTE: Wine answers TRUE, having sent the lists to no context; Windows refuses.
    for (HDC target : {dc, screen})
        EXPECT_EQ(wglUseFontBitmapsA(target, 32, 96, 1000), seam::onWine() ? TRUE : FALSE);
    ReleaseDC(nullptr, screen);
    SelectObject(dc, original);
    EXPECT_TRUE(DeleteObject(font));
}

TEST_F(Fonts, BitmapsFillTheListsAndLeaveNoError) {
    BoundWindow bound;
    HFONT font = createFont("Arial");
    HGDIOBJ original = SelectObject(bound.dc, font);
    // The font selected, then the one every device context starts with.
    for (HGDIOBJ selected : {static_cast<HGDIOBJ>(font), original}) {
        SelectObject(bound.dc, selected);
        const GLuint base = glGenLists(96);
        ASSERT_NE(base, 0u);
        EXPECT_TRUE(wglUseFontBitmapsA(bound.dc, 32, 96, base));
        const GLenum error = glGetError();
        // NOTE: under Wine, Mesa leaves GL_OUT_OF_MEMORY pending after compiling the blank
        // glyph's empty bitmap, as it does in glXUseXFont; Windows leaves no error behind.
        EXPECT_EQ(error, seam::onWine() && error == GL_OUT_OF_MEMORY ? error : GL_NO_ERROR);
        EXPECT_TRUE(glIsList(base + 95));
        glDeleteLists(base, 96);
    }
    EXPECT_TRUE(DeleteObject(font));
}

} // namespace
