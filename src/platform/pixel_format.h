// The pixel format rules of GDI over what a window system's framebuffer configurations offer,
// shared by the back-ends that number their configurations as pixel formats.
#pragma once

#include <vector>

#include "platform/win32api.h"

namespace zn::native {

// What a framebuffer configuration offers, as the pixel format rules need it.
struct FormatTraits {
    int visualMatch; // 0 the window's own visual, 1 same depth and class, 2 another one
    bool window;     // can draw to a window
    bool rgba;
    bool colorIndex;
    bool doubleBuffer;
    bool stereo;
    bool mainPlane;
    bool slow; // GLX_SLOW_CONFIG
    int colorBits, redBits, greenBits, blueBits, alphaBits;
    int redShift, greenShift, blueShift, alphaShift;
    int accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits;
    int depthBits, stencilBits, auxBuffers, samples;
};

// The 1-based index of the format closest to the request, or 0 when none can serve it.
int chooseFormat(const std::vector<FormatTraits>& formats, const PIXELFORMATDESCRIPTOR& request);
// The descriptor Windows would give for a format. A slow configuration, or one where contexts
// render indirectly (through the X server), is described as the generic (software) implementation.
PIXELFORMATDESCRIPTOR describeFormat(const FormatTraits& format, bool indirect);

// True when the space-separated list holds the name as a whole word.
bool hasExtension(const char* list, const char* name);

} // namespace zn::native
