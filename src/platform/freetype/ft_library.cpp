#include "platform/freetype/ft_library.h"

#include <dlfcn.h>

#include <string>

namespace zn::freetype {

namespace {

// Looks one entry point up; `missing` names the first that was not found.
template <class Function>
void find(void* handle, const char* name, Function& out, std::string& missing) {
    out = reinterpret_cast<Function>(dlsym(handle, name));
    if (!out && missing.empty())
        missing = name;
}

std::string findFreeType(void* handle, FreeTypeCalls& ft) {
    std::string missing;
    find(handle, "FT_Init_FreeType", ft.initFreeType, missing);
    find(handle, "FT_Done_FreeType", ft.doneFreeType, missing);
    find(handle, "FT_New_Face", ft.newFace, missing);
    find(handle, "FT_Done_Face", ft.doneFace, missing);
    find(handle, "FT_Set_Pixel_Sizes", ft.setPixelSizes, missing);
    find(handle, "FT_Select_Size", ft.selectSize, missing);
    find(handle, "FT_Set_Transform", ft.setTransform, missing);
    find(handle, "FT_Load_Char", ft.loadChar, missing);
    find(handle, "FT_GlyphSlot_Embolden", ft.embolden, missing);
    find(handle, "FT_Render_Glyph", ft.renderGlyph, missing);
    return missing;
}

std::string findFontconfig(void* handle, FontconfigCalls& fc) {
    std::string missing;
    find(handle, "FcInit", fc.init, missing);
    find(handle, "FcPatternCreate", fc.patternCreate, missing);
    find(handle, "FcPatternDestroy", fc.patternDestroy, missing);
    find(handle, "FcPatternAddString", fc.addString, missing);
    find(handle, "FcPatternAddInteger", fc.addInteger, missing);
    find(handle, "FcPatternAddDouble", fc.addDouble, missing);
    find(handle, "FcConfigSubstitute", fc.configSubstitute, missing);
    find(handle, "FcDefaultSubstitute", fc.defaultSubstitute, missing);
    find(handle, "FcFontMatch", fc.fontMatch, missing);
    find(handle, "FcPatternGetString", fc.getString, missing);
    find(handle, "FcPatternGetInteger", fc.getInteger, missing);
    find(handle, "FcPatternGetBool", fc.getBool, missing);
    find(handle, "FcPatternGetMatrix", fc.getMatrix, missing);
    return missing;
}

// Opens a library and finds its entry points; empty on success, else why not.
template <class Calls>
std::string open(const char* soname, Calls& calls, std::string (*findAll)(void*, Calls&)) {
    void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        return why ? why : soname;
    }
    const std::string missing = findAll(handle, calls);
    if (missing.empty())
        return std::string(); // kept open for the life of the process
    dlclose(handle);
    return std::string(soname) + ": no " + missing;
}

std::shared_ptr<Library> load() {
    auto loaded = std::make_shared<Library>();
    std::string why = open("libfreetype.so.6", loaded->ft, findFreeType);
    if (why.empty())
        why = open("libfontconfig.so.1", loaded->fc, findFontconfig);
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
