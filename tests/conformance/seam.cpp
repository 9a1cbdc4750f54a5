#include "Seam.h"

int anotherWindowFormat(HDC dc, int format) {
    const DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    const int count = DescribePixelFormat(dc, 1, 0, nullptr);
    for (int other = 1; other <= count; ++other) {
        PIXELFORMATDESCRIPTOR pfd;
        if (other != format && DescribePixelFormat(dc, other, sizeof pfd, &pfd) &&
            (pfd.dwFlags & wanted) == wanted && pfd.iPixelType == PFD_TYPE_RGBA)
            return other;
    }
    return 0;
}
