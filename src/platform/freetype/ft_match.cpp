#include "platform/freetype/ft_match.h"

namespace zn::freetype {

namespace {

FcPattern* patternFor(const FontconfigCalls& fc, const FaceQuery& query) {
    FcPattern* pattern = fc.patternCreate();
    if (!pattern)
        return nullptr;
    const auto* family = reinterpret_cast<const FcChar8*>(query.family.c_str());
    if (!query.family.empty())
        fc.addString(pattern, FC_FAMILY, family);
    fc.addInteger(pattern, FC_WEIGHT, query.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fc.addInteger(pattern, FC_SLANT, query.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    fc.addDouble(pattern, FC_PIXEL_SIZE, query.pixelSize);
    // The configuration's aliases (Arial to a metric-compatible face, say), then its defaults.
    fc.configSubstitute(nullptr, pattern, FcMatchPattern);
    fc.defaultSubstitute(pattern);
    return pattern;
}

std::string stringOf(const FontconfigCalls& fc, FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (fc.getString(pattern, object, 0, &value) != FcResultMatch || !value)
        return std::string();
    return reinterpret_cast<const char*>(value);
}

FT_Fixed fixed(double value) {
    return static_cast<FT_Fixed>(value * 0x10000);
}

FaceFile fileOf(const FontconfigCalls& fc, FcPattern* match) {
    FaceFile file;
    file.path = stringOf(fc, match, FC_FILE);
    file.family = stringOf(fc, match, FC_FAMILY);
    fc.getInteger(match, FC_INDEX, 0, &file.index);
    FcBool embolden = FcFalse;
    file.embolden = fc.getBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden;
    FcMatrix* matrix = nullptr;
    if (fc.getMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix)
        file.slant =
            FT_Matrix{fixed(matrix->xx), fixed(matrix->xy), fixed(matrix->yx), fixed(matrix->yy)};
    return file;
}

} // namespace

std::optional<FaceFile> matchFace(const Library& library, const FaceQuery& query) {
    const FontconfigCalls& fc = library.fc;
    FcPattern* pattern = patternFor(fc, query);
    if (!pattern)
        return std::nullopt;
    FcResult result = FcResultNoMatch;
    FcPattern* match = fc.fontMatch(nullptr, pattern, &result);
    fc.patternDestroy(pattern);
    if (!match)
        return std::nullopt;
    FaceFile file = fileOf(fc, match);
    fc.patternDestroy(match);
    if (file.path.empty())
        return std::nullopt;
    return file;
}

} // namespace zn::freetype
