// GDI font requests in X core font terms: the XLFD family, pixel size and character set of a
// CreateFontA call, the patterns to try, and which of the matching fonts to load.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "platform/font_size.h"
#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

struct FaceFamily {
    const char* face;
    const char* family;
};

// The Windows faces whose look an X server has under another name.
const FaceFamily kFaceFamilies[] = {
    {"arial", "helvetica"},       {"helvetica", "helvetica"}, {"ms sans serif", "helvetica"},
    {"tahoma", "helvetica"},      {"verdana", "helvetica"},   {"times", "times"},
    {"times new roman", "times"}, {"courier", "courier"},     {"courier new", "courier"},
    {"symbol", "symbol"},
};

const char* const kFallbackFamily = "helvetica";
using zn::platform::kFaceLength;
const int kPixelSizeField = 7;
const int kPointSizeField = 8;
const int kAverageWidthField = 12;
const int kXlfdFields = 15; // the empty piece before the leading '-' and the 14 fields

std::string lowered(const char* face) {
    std::string name = face ? std::string(face).substr(0, kFaceLength) : std::string();
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// XLFD has no escapes, so a name with '-', '*', '?' or the like cannot stand in a pattern.
bool usableAsFamily(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == ' ';
    });
}

std::string familyFor(const char* face) {
    const std::string name = lowered(face);
    for (const FaceFamily& known : kFaceFamilies)
        if (name == known.face)
            return known.family;
    return usableAsFamily(name) ? name : kFallbackFamily;
}

std::string pattern(const std::string& family, const char* weight, const char* slant,
                    const std::string& charset) {
    return "-*-" + family + "-" + weight + "-" + slant + "-normal-*-*-*-*-*-*-*-" + charset;
}

std::vector<std::string> fields(const std::string& name) {
    std::vector<std::string> pieces;
    std::stringstream stream(name);
    for (std::string piece; std::getline(stream, piece, '-');)
        pieces.push_back(piece);
    if (!name.empty() && name.back() == '-')
        pieces.emplace_back();
    return pieces;
}

std::string joined(const std::vector<std::string>& pieces) {
    std::string name;
    for (size_t i = 0; i < pieces.size(); ++i)
        name += (i ? "-" : "") + pieces[i];
    return name;
}

// The name with the pixel size set and the sizes derived from it left to the server.
std::string scaledName(const std::string& name, int pixelSize) {
    std::vector<std::string> pieces = fields(name);
    pieces[kPixelSizeField] = std::to_string(pixelSize);
    pieces[kPointSizeField] = "*";
    pieces[kAverageWidthField] = "*";
    return joined(pieces);
}

} // namespace

FontRequest fontRequest(int height, int weight, DWORD italic, DWORD charSet, const char* face) {
    FontRequest request;
    request.family = familyFor(face);
    request.bold = zn::platform::isBoldWeight(weight);
    request.italic = italic != 0;
    request.pixelSize = zn::platform::fontPixelSize(height);
    request.charset = charSet == SYMBOL_CHARSET ? "adobe-fontspecific" : "iso8859-1";
    return request;
}

std::vector<std::string> xlfdCandidates(const FontRequest& request) {
    const char* weight = request.bold ? "bold" : "medium";
    // X fonts slant as italic or, where they have no italic, as oblique.
    const std::vector<const char*> slants =
        request.italic ? std::vector<const char*>{"i", "o"} : std::vector<const char*>{"r"};
    std::vector<std::string> families{request.family};
    if (request.family != kFallbackFamily)
        families.push_back(kFallbackFamily);

    std::vector<std::string> candidates;
    for (const std::string& family : families) {
        for (const char* slant : slants)
            candidates.push_back(pattern(family, weight, slant, request.charset));
        candidates.push_back(pattern(family, weight, "*", request.charset));
        candidates.push_back(pattern(family, "*", "*", request.charset));
    }
    candidates.push_back(pattern("*", "*", "*", request.charset));
    candidates.push_back("fixed");
    return candidates;
}

std::string chooseFontName(const std::vector<std::string>& names, int pixelSize) {
    const std::string* nearest = nullptr;
    const std::string* scalable = nullptr;
    int nearestSize = 0;
    for (const std::string& name : names) {
        const std::vector<std::string> pieces = fields(name);
        if (pieces.size() != kXlfdFields)
            continue;
        const int size = std::atoi(pieces[kPixelSizeField].c_str());
        if (size == 0) {
            scalable = scalable ? scalable : &name;
            continue;
        }
        // The nearest size wins; of two as near, the smaller, as GDI never exceeds a height.
        const int distance = std::abs(size - pixelSize);
        const int best = std::abs(nearestSize - pixelSize);
        if (!nearest || distance < best || (distance == best && size < nearestSize)) {
            nearest = &name;
            nearestSize = size;
        }
    }
    // Bitmaps scaled by the server look coarse, so a near bitmap size is the better choice.
    const int tolerance = std::max(2, pixelSize / 8);
    if (nearest && std::abs(nearestSize - pixelSize) <= tolerance)
        return *nearest;
    if (scalable)
        return scaledName(*scalable, pixelSize);
    return nearest ? *nearest : std::string();
}

} // namespace zn::x11
