#include "glyph_lists.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <string>
#include <vector>

namespace {

const int kFirst = 32, kCount = 96;

// The file and face index fontconfig matches to the pattern; an empty path for none.
std::string matchFile(const char* pattern, int pixelSize, int& index) {
    FcPattern* asked = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!asked)
        return std::string();
    FcPatternAddDouble(asked, FC_PIXEL_SIZE, pixelSize);
    FcConfigSubstitute(nullptr, asked, FcMatchPattern);
    FcDefaultSubstitute(asked);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, asked, &result);
    FcPatternDestroy(asked);
    std::string path;
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch)
            index = 0;
    }
    if (match)
        FcPatternDestroy(match);
    return path;
}

// Compiles the slot's one-bit image into the list: glBitmap takes rows bottom-up, FreeType
// gives them top-down.
void compile(const FT_GlyphSlot slot, GLuint list) {
    const FT_Bitmap& bitmap = slot->bitmap;
    const size_t stride = (bitmap.width + 7) / 8;
    std::vector<GLubyte> bits(stride * bitmap.rows + 1, 0); // never empty: Mesa wants an image
    for (unsigned int y = 0; y < bitmap.rows; ++y)
        std::memcpy(&bits[(bitmap.rows - 1 - y) * stride], bitmap.buffer + y * bitmap.pitch,
                    stride);
    glNewList(list, GL_COMPILE);
    glBitmap(static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows),
             static_cast<GLfloat>(-slot->bitmap_left),
             static_cast<GLfloat>(static_cast<int>(bitmap.rows) - slot->bitmap_top),
             static_cast<GLfloat>((slot->advance.x + 32) >> 6), 0.0f, bits.data());
    glEndList();
}

bool rendered(FT_Face face, FT_ULong code) {
    return FT_Load_Char(face, code, FT_LOAD_TARGET_MONO) == 0 &&
           FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0 &&
           face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO && face->glyph->bitmap.pitch >= 0;
}

GLuint compileAll(FT_Face face) {
    GLuint base = glGenLists(kCount);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < kCount && base; ++i) {
        if (rendered(face, static_cast<FT_ULong>(kFirst + i))) {
            compile(face->glyph, base + i);
        } else {
            glDeleteLists(base, kCount);
            base = 0;
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return base;
}

} // namespace

GLuint buildGlyphLists(const char* pattern, int pixelSize) {
    int index = 0;
    const std::string path = matchFile(pattern, pixelSize, index);
    FT_Library library = nullptr;
    if (path.empty() || FT_Init_FreeType(&library) != 0)
        return 0;
    GLuint base = 0;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), index, &face) == 0) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) == 0)
            base = compileAll(face);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return base;
}
