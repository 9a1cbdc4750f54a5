#include "platform/freetype/ft_library.h"

#include <string>

#include "platform/shared_library.h"

namespace zn::freetype {

namespace {

std::string bindFreeType(FreeTypeCalls& ft) {
    platform::SharedLibrary library("libfreetype.so.6");
    library.bind(ft.initFreeType, "FT_Init_FreeType");
    library.bind(ft.doneFreeType, "FT_Done_FreeType");
    library.bind(ft.newFace, "FT_New_Face");
    library.bind(ft.doneFace, "FT_Done_Face");
    library.bind(ft.setPixelSizes, "FT_Set_Pixel_Sizes");
    library.bind(ft.selectSize, "FT_Select_Size");
    library.bind(ft.setTransform, "FT_Set_Transform");
    library.bind(ft.loadChar, "FT_Load_Char");
    library.bind(ft.embolden, "FT_GlyphSlot_Embolden");
    library.bind(ft.renderGlyph, "FT_Render_Glyph");
    return library.why();
}

std::string bindFontconfig(FontconfigCalls& fc) {
    platform::SharedLibrary library("libfontconfig.so.1");
    library.bind(fc.init, "FcInit");
    library.bind(fc.patternCreate, "FcPatternCreate");
    library.bind(fc.patternDestroy, "FcPatternDestroy");
    library.bind(fc.addString, "FcPatternAddString");
    library.bind(fc.addInteger, "FcPatternAddInteger");
    library.bind(fc.addDouble, "FcPatternAddDouble");
    library.bind(fc.configSubstitute, "FcConfigSubstitute");
    library.bind(fc.defaultSubstitute, "FcDefaultSubstitute");
    library.bind(fc.fontMatch, "FcFontMatch");
    library.bind(fc.getString, "FcPatternGetString");
    library.bind(fc.getInteger, "FcPatternGetInteger");
    library.bind(fc.getBool, "FcPatternGetBool");
    library.bind(fc.getMatrix, "FcPatternGetMatrix");
    return library.why();
}

std::shared_ptr<Library> load() {
    auto loaded = std::make_shared<Library>();
    std::string why = bindFreeType(loaded->ft);
    if (why.empty())
        why = bindFontconfig(loaded->fc);
    if (why.empty() && !loaded->fc.init())
        why = "fontconfig: its configuration cannot be loaded";
    if (why.empty() && loaded->ft.initFreeType(&loaded->handle) != 0)
        why = "FreeType: the library cannot be initialised";
    if (why.empty())
        return loaded;
    native::backend().diagnose("CreateFontA", why);
    return nullptr;
}

} // namespace

Library::~Library() {
    if (handle)
        ft.doneFreeType(handle);
}

std::shared_ptr<Library> library() {
    // Loaded once, failure included: a library missing now stays missing.
    static const std::shared_ptr<Library> loaded = load();
    return loaded;
}

} // namespace zn::freetype
