// How a CreateFontA request's height and weight read, shared by the back-ends so that a font
// comes out the same size and weight whichever one draws it.
#pragma once

#include <algorithm>
#include <cstddef>

namespace zn::platform {

const size_t kFaceLength = 31; // GDI reads no further (LF_FACESIZE with its NUL)
const int kDefaultPixelSize = 12;
const int kLargestPixelSize = 256;

// The font's pixel (em) size. GDI heights: negative is the character (em) height, positive the
// cell height, which adds the internal leading of about 15 percent; zero asks for the default.
inline int fontPixelSize(int height) {
    const long long asked = height;
    long long size = kDefaultPixelSize;
    if (asked < 0)
        size = -asked;
    else if (asked > 0)
        size = (asked * 87 + 50) / 100;
    return static_cast<int>(std::clamp<long long>(size, 1, kLargestPixelSize));
}

// Faces come in two weights: FW_SEMIBOLD and heavier draw bold.
inline bool isBoldWeight(int weight) {
    return weight >= 600;
}

} // namespace zn::platform
