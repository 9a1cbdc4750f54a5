// Fonts rasterised by FreeType, their faces found through fontconfig, for back-ends with no
// fonts of the window system's own. Sizes and weights read as the X11 back-end reads them
// (platform/font_size.h), so text is the same size on either. Glyphs are one bit deep, as
// wglUseFontBitmaps draws them.
#pragma once

#include <memory>
#include <string>

#include "platform/freetype/ft_library.h"

namespace zn::freetype {

// A face opened at the request's pixel size.
struct FreeTypeFont : native::Font {
    FreeTypeFont(std::shared_ptr<Library> library, FT_Face face, std::string family, bool embolden)
        : library(std::move(library)), face(face), family(std::move(family)), embolden(embolden) {}
    // Closes the face under the library's mutex, from whichever thread lets go of it last.
    ~FreeTypeFont() override;
    FreeTypeFont(const FreeTypeFont&) = delete;
    FreeTypeFont& operator=(const FreeTypeFont&) = delete;

    const std::shared_ptr<Library> library;
    const FT_Face face;       // used under library->mutex only
    const std::string family; // the face's family, such as "Liberation Sans"
    const bool embolden;      // bold asked of a face that has none
};

// A font serving a CreateFontA request, or null when FreeType or fontconfig cannot be loaded or
// no face opens. A face fontconfig does not know gets its default face.
std::shared_ptr<native::Font> createFont(const native::FontRequest& request);

// Builds display lists listBase... of `count` glyphs from character `first` in the GL context
// current on the calling thread, each a glBitmap that draws the glyph with the raster position
// at its baseline-left and advances it, as wglUseFontBitmaps does. Null stands for the system
// font. False when no context is current, a glyph cannot be rasterised or GL refuses a list.
bool useFontBitmaps(native::Font* font, DWORD first, DWORD count, DWORD listBase);

} // namespace zn::freetype
