// Checks a demo screenshot: the window's size, the library's clear colour around a lit, shaded
// model, and the frame-rate overlay's cyan text in the top-left corner (or its absence).
//   png_check FILE WIDTH HEIGHT overlay|no-overlay
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

struct Rgb {
    int r, g, b;
};

struct Image {
    const unsigned char* pixels;
    int width;
    int height;

    Rgb at(int x, int y) const {
        const unsigned char* p = pixels + (size_t(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
};

bool similar(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

const Rgb kClearColour = {77, 26, 0}; // the library's 0.3, 0.1, 0.0
const Rgb kOverlayCyan = {0, 255, 255};
// The overlay's text starts 10 pixels from the left edge, within 45 pixels of the top.
const int kOverlayRight = 50;
const int kOverlayBottom = 45;

int countNear(const Image& image, int x0, int y0, int x1, int y1, Rgb colour, int tolerance) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += similar(image.at(x, y), colour, tolerance);
    return count;
}

// The model's pixels in the middle of the picture: neither cleared nor black, and in many
// shades, as lit and smoothly shaded geometry is.
bool sceneVisible(const Image& image, int& pixels, int& shades) {
    std::set<int> seen;
    pixels = 0;
    for (int y = image.height / 3; y < 2 * image.height / 3; ++y)
        for (int x = image.width / 3; x < 2 * image.width / 3; ++x) {
            const Rgb p = image.at(x, y);
            if (similar(p, kClearColour, 30) || p.r + p.g + p.b < 30)
                continue;
            ++pixels;
            seen.insert(p.r << 16 | p.g << 8 | p.b);
        }
    shades = static_cast<int>(seen.size());
    const int area = (image.width / 3) * (image.height / 3);
    return pixels > area / 10 && shades > 100;
}

int fail(const std::string& why) {
    std::fprintf(stderr, "png_check: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 5 ? argv[4] : "";
    if (mode != "overlay" && mode != "no-overlay") {
        std::fprintf(stderr, "usage: png_check FILE WIDTH HEIGHT overlay|no-overlay\n");
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    Image image = {nullptr, 0, 0};
    int channels = 0;
    unsigned char* pixels = stbi_load(argv[1], &image.width, &image.height, &channels, 3);
    if (!pixels)
        return fail(std::string("cannot decode ") + argv[1] + ": " + stbi_failure_reason());
    image.pixels = pixels;
    const int status = [&] {
        if (image.width != width || image.height != height)
            return fail("the picture is " + std::to_string(image.width) + "x" +
                        std::to_string(image.height) + ", the window " + argv[2] + "x" + argv[3]);
        const int cleared = countNear(image, 0, 0, width, height, kClearColour, 3);
        if (cleared < width * height / 4)
            return fail("the clear colour covers only " + std::to_string(cleared) + " pixels");
        int scene = 0;
        int shades = 0;
        if (!sceneVisible(image, scene, shades))
            return fail("no lit model in the middle: " + std::to_string(scene) + " pixels in " +
                        std::to_string(shades) + " shades");
        const int cyan = countNear(image, 0, 0, kOverlayRight, kOverlayBottom, kOverlayCyan, 60);
        if (mode == "overlay" ? cyan < 20 : cyan > 0)
            return fail(std::to_string(cyan) + " cyan overlay pixels in the top-left corner");
        std::printf("png_check: %s is %dx%d: %d cleared pixels, a model of %d pixels in %d "
                    "shades, %d overlay pixels\n",
                    argv[1], width, height, cleared, scene, shades, cyan);
        return 0;
    }();
    stbi_image_free(pixels);
    return status;
}
