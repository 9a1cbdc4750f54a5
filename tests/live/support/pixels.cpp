#include <cstdlib>

#include "znException.h"
#include "LiveTest.h"

std::vector<unsigned char> readBackBuffer(int width, int height) {
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

int countNear(const std::vector<unsigned char>& rgb, int width, int x0, int y0, int x1, int y1,
              Rgb colour, int tolerance) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &rgb[(size_t(y) * width + x) * 3];
            if (std::abs(p[0] - colour.r) <= tolerance && std::abs(p[1] - colour.g) <= tolerance &&
                std::abs(p[2] - colour.b) <= tolerance)
                ++count;
        }
    return count;
}
