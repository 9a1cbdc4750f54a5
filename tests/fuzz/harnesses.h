// Fuzz targets on the recording platform. Each takes one input, drives the library with it and
// answers whether the properties that must hold for any input held. The fuzzers (fuzz_entry.cpp)
// stop on a false answer; the unit suite replays the kept corpus through the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace znFuzz {

// Driver strings and the extension list: the input is a flags byte followed by the vendor,
// renderer, version and extension strings, separated by NUL bytes.
bool driverStrings(const uint8_t* data, size_t size);
// The bitmap font's text paths: height, weight and style bytes, a face name up to the first NUL,
// then the text drawn in place, as an overlay and as an overlay at a depth.
bool fontText(const uint8_t* data, size_t size);

} // namespace znFuzz
