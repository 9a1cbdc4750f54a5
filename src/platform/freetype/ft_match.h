// Finding the face file for a font request through fontconfig.
#pragma once

#include <optional>
#include <string>

#include "platform/freetype/ft_library.h"

namespace zn::freetype {

// What to look for: fontconfig's family name (empty: its default face), size and style.
struct FaceQuery {
    std::string family;
    int pixelSize;
    bool bold;
    bool italic;
};

// The face fontconfig chose, with the synthetic styles it asks for where the face has no bold
// or italic of its own.
struct FaceFile {
    std::string path;
    int index = 0;
    std::string family; // the face's own family name, such as "Liberation Sans"
    bool embolden = false;
    std::optional<FT_Matrix> slant;
};

// The best face installed for the query; fontconfig answers its default face for a family it
// does not know. Empty when it has no face at all. Called with the library's mutex held.
std::optional<FaceFile> matchFace(const Library& library, const FaceQuery& query);

} // namespace zn::freetype
