#include "platform/freetype/ft_glyphs.h"

namespace zn::freetype {

namespace {

bool lit(const FT_Bitmap& bitmap, const unsigned char* row, unsigned int x) {
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        return row[x >> 3] & (0x80 >> (x & 7));
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) // a face's own bitmaps may come in grey
        return row[x] >= 128;
    return false;
}

// The slot's image flipped bottom-up, one bit a pixel, with its origin and advance.
Glyph glyphOf(const FT_GlyphSlot slot) {
    const FT_Bitmap& bitmap = slot->bitmap;
    Glyph glyph;
    glyph.width = static_cast<GLsizei>(bitmap.width);
    glyph.rows = static_cast<GLsizei>(bitmap.rows);
    glyph.xorig = static_cast<GLfloat>(-slot->bitmap_left);
    glyph.yorig = static_cast<GLfloat>(glyph.rows - slot->bitmap_top);
    glyph.advance = static_cast<GLfloat>((slot->advance.x + 32) >> 6);
    if (glyph.width == 0 || glyph.rows == 0)
        return glyph;
    const size_t stride = (bitmap.width + 7) / 8;
    const size_t pitch = static_cast<size_t>(bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch);
    glyph.bits.assign(stride * bitmap.rows, 0);
    for (unsigned int y = 0; y < bitmap.rows; ++y) {
        // FreeType's rows run top-down for a positive pitch, bottom-up for a negative one.
        const unsigned int top = bitmap.pitch < 0 ? bitmap.rows - 1 - y : y;
        const unsigned char* row = bitmap.buffer + top * pitch;
        GLubyte* out = &glyph.bits[(bitmap.rows - 1 - y) * stride];
        for (unsigned int x = 0; x < bitmap.width; ++x)
            if (lit(bitmap, row, x))
                out[x >> 3] |= static_cast<GLubyte>(0x80 >> (x & 7));
    }
    return glyph;
}

// Loads the character's glyph into the face's slot as a one-bit image.
FT_Error load(const FreeTypeCalls& ft, const FreeTypeFont& font, FT_ULong code) {
    FT_Error error = ft.loadChar(font.face, code, FT_LOAD_TARGET_MONO);
    if (error)
        return error;
    FT_GlyphSlot slot = font.face->glyph;
    if (font.embolden)
        ft.embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP)
        error = ft.renderGlyph(slot, FT_RENDER_MODE_MONO);
    return error;
}

} // namespace

bool rasterise(FreeTypeFont& font, unsigned long first, unsigned long count,
               std::vector<Glyph>& glyphs) {
    glyphs.clear();
    for (unsigned long i = 0; i < count; ++i) {
        if (load(font.library->ft, font, first + i) != 0)
            return false;
        glyphs.push_back(glyphOf(font.face->glyph));
    }
    return true;
}

} // namespace zn::freetype
