// Glyphs rasterised into the one-bit images glBitmap draws.
#pragma once

#include <vector>

#include <GL/gl.h>

#include "platform/freetype/ft_font.h"

namespace zn::freetype {

// One glyph as glBitmap takes it: rows bottom-up, each (width + 7) / 8 bytes, most significant
// bit leftmost; the origin is the baseline-left of the glyph's cell.
struct Glyph {
    GLsizei width = 0, rows = 0;
    GLfloat xorig = 0, yorig = 0, advance = 0;
    std::vector<GLubyte> bits{0}; // never empty: Mesa refuses a null image in a list
};

// The system font, opened on first use (ft_font.cpp); null when it cannot be.
FreeTypeFont* systemFont();

// Rasterises characters first... of the font into `glyphs`; false when one fails. Codes are read
// as Unicode, which are Latin-1's, as the X11 back-end's iso8859-1 fonts read them. Called with
// the library's mutex held.
bool rasterise(FreeTypeFont& font, unsigned long first, unsigned long count,
               std::vector<Glyph>& glyphs);

} // namespace zn::freetype
