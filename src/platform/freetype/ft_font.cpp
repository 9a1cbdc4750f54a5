#include "platform/freetype/ft_font.h"

#include <cstdlib>

#include "platform/font_size.h"
#include "platform/freetype/ft_match.h"

namespace zn::freetype {

namespace {

// The system font stands in for X11's stock font "fixed": monospaced, 13 pixels.
const char* const kSystemFamily = "monospace";
const int kSystemPixelSize = 13;

std::string familyOf(const char* face) {
    return face ? std::string(face).substr(0, zn::platform::kFaceLength) : std::string();
}

// Sets the pixel size; a face of bitmaps alone takes the nearest size it has.
bool setSize(const FreeTypeCalls& ft, FT_Face face, int pixelSize) {
    if (ft.setPixelSizes(face, 0, static_cast<FT_UInt>(pixelSize)) == 0)
        return true;
    int nearest = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const long size = face->available_sizes[i].y_ppem >> 6;
        if (nearest < 0 || std::labs(size - pixelSize) <
                               std::labs((face->available_sizes[nearest].y_ppem >> 6) - pixelSize))
            nearest = i;
    }
    return nearest >= 0 && ft.selectSize(face, nearest) == 0;
}

// The face for the query, opened at its size; null with `why` said when there is none.
std::shared_ptr<FreeTypeFont> open(const std::shared_ptr<Library>& library, const FaceQuery& query,
                                   std::string& why) {
    const FreeTypeCalls& ft = library->ft;
    LibraryLock hold(library->mutex);
    const std::optional<FaceFile> file = matchFace(*library, query);
    if (!file) {
        why = "fontconfig: no face for \"" + query.family + "\"";
        return nullptr;
    }
    FT_Face face = nullptr;
    if (ft.newFace(library->handle, file->path.c_str(), file->index, &face) != 0) {
        why = "FreeType: cannot open " + file->path;
        return nullptr;
    }
    if (!setSize(ft, face, query.pixelSize)) {
        ft.doneFace(face);
        why = "FreeType: " + file->path + " has no size of " + std::to_string(query.pixelSize) +
              " pixels";
        return nullptr;
    }
    if (file->slant) {
        FT_Matrix slant = *file->slant;
        ft.setTransform(face, &slant, nullptr);
    }
    return std::make_shared<FreeTypeFont>(library, face, file->family, file->embolden);
}

std::shared_ptr<FreeTypeFont> openOrSay(const FaceQuery& query, const char* call) {
    const std::shared_ptr<Library> loaded = library();
    if (!loaded)
        return nullptr;
    std::string why;
    std::shared_ptr<FreeTypeFont> font = open(loaded, query, why);
    if (!font)
        native::backend().diagnose(call, why); // outside the lock: the back-end may take its own
    return font;
}

} // namespace

FreeTypeFont::~FreeTypeFont() {
    LibraryLock hold(library->mutex);
    library->ft.doneFace(face);
}

std::shared_ptr<native::Font> createFont(const native::FontRequest& request) {
    const FaceQuery query{familyOf(request.face), zn::platform::fontPixelSize(request.height),
                          zn::platform::isBoldWeight(request.weight), request.italic != 0};
    return openOrSay(query, "CreateFontA");
}

// The system font, opened once for every context that builds its glyphs.
FreeTypeFont* systemFont() {
    static const std::shared_ptr<FreeTypeFont> font =
        openOrSay(FaceQuery{kSystemFamily, kSystemPixelSize, false, false}, "wglUseFontBitmapsA");
    return font.get();
}

} // namespace zn::freetype
