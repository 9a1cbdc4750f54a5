// wglUseFontBitmaps over FreeType: glyphs rasterised under the library's mutex a batch at a
// time, then compiled into display lists with the mutex released.
#include <algorithm>
#include <climits>
#include <string>

#include "platform/freetype/ft_glyphs.h"

namespace zn::freetype {

namespace {

// Bounds the memory one call holds and how long other threads wait for the mutex.
const DWORD kBatch = 256;

// List names are GLuints from listBase on; 0 names no list.
bool fits(DWORD count, DWORD listBase) {
    return listBase > 0 && static_cast<unsigned long long>(listBase) + count <= 1ULL + UINT_MAX;
}

bool drainErrors() {
    bool any = false;
    for (int drained = 0; drained < 16 && glGetError() != GL_NO_ERROR; ++drained)
        any = true;
    return any;
}

// Compiles each glyph into its list; false when GL refused one.
bool compile(const std::vector<Glyph>& glyphs, GLuint list) {
    // glBitmap reads its image as it is compiled, with the pixel storage of this moment.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const Glyph& glyph : glyphs) {
        glNewList(list++, GL_COMPILE);
        glBitmap(glyph.width, glyph.rows, glyph.xorig, glyph.yorig, glyph.advance, 0.0f,
                 glyph.bits.data());
        glEndList();
    }
    glPopClientAttrib();
    return !drainErrors();
}

} // namespace

bool useFontBitmaps(native::Font* font, DWORD first, DWORD count, DWORD listBase) {
    // GL answers no version where no context is current.
    if (!glGetString(GL_VERSION) || !fits(count, listBase))
        return false;
    FreeTypeFont* with = font ? static_cast<FreeTypeFont*>(font) : systemFont();
    if (!with)
        return false;
    // GL does not say whose an error is: those the host left are dropped first (as the X11
    // back-end drops those left after glXUseXFont), so that only this call's own count.
    drainErrors();
    std::vector<Glyph> glyphs;
    for (DWORD done = 0; done < count; done += static_cast<DWORD>(glyphs.size())) {
        const unsigned long from = static_cast<unsigned long>(first) + done;
        bool rasterised = false;
        {
            LibraryLock hold(with->library->mutex);
            rasterised = rasterise(*with, from, std::min(kBatch, count - done), glyphs);
        }
        if (!rasterised) {
            native::backend().diagnose("wglUseFontBitmapsA",
                                       "FreeType: no glyph for character " +
                                           std::to_string(from + glyphs.size()));
            return false;
        }
        if (!compile(glyphs, listBase + done))
            return false;
    }
    return true;
}

} // namespace zn::freetype
