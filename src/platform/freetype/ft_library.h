// FreeType and fontconfig, loaded on first use with dlopen so that a system drawing its fonts
// some other way (X core fonts) runs without either. Their headers give the types and
// signatures only; nothing links against them.
#pragma once

#include <memory>
#include <mutex>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include "platform/native.h"
#include "platform/ranked_mutex.h"

namespace zn::freetype {

// The entry points of libfreetype.so.6 the fonts use.
struct FreeTypeCalls {
    decltype(&FT_Init_FreeType) initFreeType;
    decltype(&FT_Done_FreeType) doneFreeType;
    decltype(&FT_New_Face) newFace;
    decltype(&FT_Done_Face) doneFace;
    decltype(&FT_Set_Pixel_Sizes) setPixelSizes;
    decltype(&FT_Select_Size) selectSize;
    decltype(&FT_Set_Transform) setTransform;
    decltype(&FT_Load_Char) loadChar;
    decltype(&FT_GlyphSlot_Embolden) embolden;
    decltype(&FT_Render_Glyph) renderGlyph;
};

// The entry points of libfontconfig.so.1 that find a face.
struct FontconfigCalls {
    decltype(&FcInit) init;
    decltype(&FcPatternCreate) patternCreate;
    decltype(&FcPatternDestroy) patternDestroy;
    decltype(&FcPatternAddString) addString;
    decltype(&FcPatternAddInteger) addInteger;
    decltype(&FcPatternAddDouble) addDouble;
    decltype(&FcConfigSubstitute) configSubstitute;
    decltype(&FcDefaultSubstitute) defaultSubstitute;
    decltype(&FcFontMatch) fontMatch;
    decltype(&FcPatternGetString) getString;
    decltype(&FcPatternGetInteger) getInteger;
    decltype(&FcPatternGetBool) getBool;
    decltype(&FcPatternGetMatrix) getMatrix;
};

// The loaded libraries and FreeType's library object. Neither FT_Library nor an FT_Face may be
// used by two threads at once, so every FreeType and fontconfig call is made under `mutex`,
// which is never held across a call into the window system or GL.
struct Library {
    Library() = default;
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    FreeTypeCalls ft;
    FontconfigCalls fc;
    FT_Library handle = nullptr;
    zn::platform::RankedMutex<zn::platform::kFreeTypeRank> mutex;
};

using LibraryLock = std::lock_guard<zn::platform::RankedMutex<zn::platform::kFreeTypeRank>>;

// The libraries, loaded by the first call; null when either cannot be loaded, which that call
// says through the back-end's diagnose. Fonts hold it, so it outlives every face.
std::shared_ptr<Library> library();

} // namespace zn::freetype
