#include "znGLBitmapFont.h"

#include <cstring>

#include "platform/win32api.h"

namespace {

const GLsizei kGlyphCount = 96; // character codes 32 to 127
const GLuint kFirstGlyph = 32;
const GLbitfield kAllAttributes = 0x000FFFFF;

int usableWeight(int weight) {
    return (weight <= 0 || weight > 900) ? 400 : weight;
}

DWORD charSetFor(const char* face) {
    return _stricmp(face, "symbol") == 0 ? SYMBOL_CHARSET : ANSI_CHARSET;
}

} // namespace

struct znGLBitmapFont::State {
    GLuint listBase = 0;         // the first of the 96 lists; 0 for none
    HDC deviceContext = nullptr; // where glyphs are built; null takes the current one
};

znGLBitmapFont::znGLBitmapFont() : state(new State) {}
znGLBitmapFont::znGLBitmapFont(const znGLBitmapFont& other) : state(new State(*other.state)) {}
znGLBitmapFont& znGLBitmapFont::operator=(const znGLBitmapFont& other) {
    *state = *other.state;
    return *this;
}
znGLBitmapFont::~znGLBitmapFont() {
    delete state;
}

void znGLBitmapFont::createFont(const char* face, int height, int weight, bool italic,
                                bool underline) {
    if (!face)
        face = "";
    state->listBase = glGenLists(kGlyphCount);
    if (state->listBase == 0)
        return;
    if (!state->deviceContext)
        state->deviceContext = wglGetCurrentDC();

    HFONT font =
        CreateFontA(height, 0, 0, 0, usableWeight(weight), italic ? 1 : 0, underline ? 1 : 0, 0,
                    charSetFor(face), OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, face);
    if (!font) {
        glDeleteLists(state->listBase, kGlyphCount);
        state->listBase = 0;
        return;
    }
    HGDIOBJ previous = SelectObject(state->deviceContext, font);
    wglUseFontBitmapsA(state->deviceContext, kFirstGlyph, kGlyphCount, state->listBase);
    SelectObject(state->deviceContext, previous);
    DeleteObject(font);
}

void znGLBitmapFont::printString(const char* text, float x, float y, float z, float r, float g,
                                 float b, bool inPlace) {
    if (state->listBase == 0 || !text)
        return;
    if (!inPlace) {
        printOverlay(text, x, y, z, r, g, b, true);
        return;
    }
    glColor3f(r, g, b);
    glPushAttrib(GL_LIST_BIT);
    glRasterPos3f(x, y, z);
    callLists(text);
    glPopAttrib();
}

void znGLBitmapFont::printString(const char* text, float x, float y, float r, float g, float b) {
    if (state->listBase == 0 || !text)
        return;
    printOverlay(text, x, y, 0.0f, r, g, b, false);
}

// NOTE: Mesa (22.x at least, natively and under Wine) restores at the outer glPopAttrib only the
// groups it saw change since that push, and a glPushAttrib/glPopAttrib pair nested inside hides
// the change of the current colour and raster position from it: the host's colour was left
// cyan. The outer push already saves the list base, so the overlay nests no pair of its own.
void znGLBitmapFont::printOverlay(const char* text, float x, float y, float z, float r, float g,
                                  float b, bool withZ) {
    glPushAttrib(kAllAttributes);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1.1, 1.1, -1.1, 1.1, 0.1, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(r, g, b);
    // Puts z = 0 on the near plane of the projection above.
    glTranslatef(0.0f, 0.0f, -0.1f);
    if (withZ)
        glRasterPos3f(x, y, z);
    else
        glRasterPos2f(x, y);
    callLists(text);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

void znGLBitmapFont::callLists(const char* text) {
    glListBase(state->listBase - kFirstGlyph);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
}

void znGLBitmapFont::clearFont() {
    if (state->listBase != 0)
        glDeleteLists(state->listBase, kGlyphCount);
}

void znGLBitmapFont::setDeviceContextManual(HDC dc) {
    state->deviceContext = dc;
}
