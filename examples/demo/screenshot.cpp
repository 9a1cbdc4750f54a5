#include "screenshot.h"

#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

void writePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb) {
    if (rgb.size() != size_t(width) * height * 3)
        throw std::runtime_error("cannot read the window's pixels for " + path);
    if (!stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3))
        throw std::runtime_error("cannot write " + path);
}
