// Screenshots as PNG files.
#pragma once

#include <string>
#include <vector>

// Writes RGB pixels (top row first) to a PNG file; throws std::runtime_error when it cannot.
void writePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb);
