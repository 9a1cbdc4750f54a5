// The pixel format rules of GDI applied to what framebuffer configurations offer: which format
// is closest to a request, and how a format is described.
#include <algorithm>
#include <array>

#include <cstring>

#include "platform/pixel_format.h"

namespace zn::native {

namespace {

// Descriptor values that the library's header leaves out.
const DWORD kStereo = 0x00000002;
const DWORD kDoubleBufferDontCare = 0x40000000;
const DWORD kStereoDontCare = 0x80000000;
const BYTE kTypeColorIndex = 1;

// Keys compared in order, lower is better.
using Rank = std::array<int, 9>;

// At least as many bits as asked, as few more as possible; failing that, as many as there are.
int closeness(int have, int want) {
    return have >= want ? have - want : 1000 + (want - have);
}

bool serves(const FormatTraits& format, const PIXELFORMATDESCRIPTOR& request) {
    if (!format.window || !format.mainPlane)
        return false;
    if (request.iPixelType == kTypeColorIndex ? !format.colorIndex : !format.rgba)
        return false;
    const bool doubleBuffer = (request.dwFlags & PFD_DOUBLEBUFFER) != 0;
    if (!(request.dwFlags & kDoubleBufferDontCare) && format.doubleBuffer != doubleBuffer)
        return false;
    const bool stereo = (request.dwFlags & kStereo) != 0;
    return (request.dwFlags & kStereoDontCare) || format.stereo == stereo;
}

int accumBits(const FormatTraits& format) {
    return format.accumRedBits + format.accumGreenBits + format.accumBlueBits +
           format.accumAlphaBits;
}

Rank rank(const FormatTraits& format, const PIXELFORMATDESCRIPTOR& request) {
    // The window's own visual first: other visuals may not render into it (BadMatch).
    return {format.visualMatch,
            format.slow ? 1 : 0,
            format.samples,
            closeness(format.colorBits, request.cColorBits),
            closeness(format.depthBits, request.cDepthBits),
            closeness(format.alphaBits, request.cAlphaBits),
            closeness(format.stencilBits, request.cStencilBits),
            closeness(accumBits(format), request.cAccumBits),
            closeness(format.auxBuffers, request.cAuxBuffers)};
}

BYTE bits(int value) {
    return static_cast<BYTE>(std::clamp(value, 0, 255));
}

} // namespace

int chooseFormat(const std::vector<FormatTraits>& formats, const PIXELFORMATDESCRIPTOR& request) {
    int chosen = 0;
    Rank best{};
    for (size_t i = 0; i < formats.size(); ++i) {
        if (!serves(formats[i], request))
            continue;
        const Rank candidate = rank(formats[i], request);
        if (chosen == 0 || candidate < best) {
            chosen = static_cast<int>(i) + 1;
            best = candidate;
        }
    }
    return chosen;
}

PIXELFORMATDESCRIPTOR describeFormat(const FormatTraits& format, bool indirect) {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_SUPPORT_OPENGL;
    if (format.window)
        pfd.dwFlags |= PFD_DRAW_TO_WINDOW;
    if (format.doubleBuffer)
        pfd.dwFlags |= PFD_DOUBLEBUFFER;
    if (format.stereo)
        pfd.dwFlags |= kStereo;
    if (format.slow || indirect)
        pfd.dwFlags |= PFD_GENERIC_FORMAT;
    pfd.iPixelType = format.rgba ? PFD_TYPE_RGBA : kTypeColorIndex;
    pfd.cColorBits = bits(format.colorBits);
    pfd.cRedBits = bits(format.redBits);
    pfd.cRedShift = bits(format.redShift);
    pfd.cGreenBits = bits(format.greenBits);
    pfd.cGreenShift = bits(format.greenShift);
    pfd.cBlueBits = bits(format.blueBits);
    pfd.cBlueShift = bits(format.blueShift);
    pfd.cAlphaBits = bits(format.alphaBits);
    pfd.cAlphaShift = bits(format.alphaShift);
    pfd.cAccumBits = bits(accumBits(format));
    pfd.cAccumRedBits = bits(format.accumRedBits);
    pfd.cAccumGreenBits = bits(format.accumGreenBits);
    pfd.cAccumBlueBits = bits(format.accumBlueBits);
    pfd.cAccumAlphaBits = bits(format.accumAlphaBits);
    pfd.cDepthBits = bits(format.depthBits);
    pfd.cStencilBits = bits(format.stencilBits);
    pfd.cAuxBuffers = bits(format.auxBuffers);
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

bool hasExtension(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    if (!list || length == 0)
        return false;
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends)
            return true;
    }
    return false;
}

} // namespace zn::native
