// Which framebuffer configuration stands for a GDI pixel format request, and how it is
// described, without a display.
#include <gtest/gtest.h>

#include "context/pixelFormatRequest.h"
#include "platform/pixel_format.h"

using namespace zn::native;

namespace {

FormatTraits format(int depthBits, int visualMatch = 0) {
    FormatTraits traits = {};
    traits.visualMatch = visualMatch;
    traits.window = traits.rgba = traits.doubleBuffer = traits.mainPlane = true;
    traits.colorBits = 32;
    traits.redBits = traits.greenBits = traits.blueBits = traits.alphaBits = 8;
    traits.depthBits = depthBits;
    return traits;
}

} // namespace

TEST(ChooseFormat, TheWindowsOwnVisualComesBeforeACloserMatchElsewhere) {
    // Another visual may not render into the window at all, whatever else it offers.
    EXPECT_EQ(
        chooseFormat({format(24, 2), format(16, 1), format(0, 0)}, zn::requestedPixelFormat()), 3);
    EXPECT_EQ(chooseFormat({format(24, 2), format(16, 1)}, zn::requestedPixelFormat()), 2);
}

TEST(ChooseFormat, DepthIsAtLeastAsAskedAndOtherwiseTheLargest) {
    EXPECT_EQ(chooseFormat({format(32), format(16), format(24)}, zn::requestedPixelFormat()), 3);
    EXPECT_EQ(chooseFormat({format(32), format(16)}, zn::requestedPixelFormat()), 1);
    EXPECT_EQ(chooseFormat({format(0), format(16)}, zn::requestedPixelFormat()), 2);
}

TEST(ChooseFormat, PrefersPlainFastFormatsWithoutExtras) {
    FormatTraits slow = format(24);
    slow.slow = true;
    FormatTraits multisampled = format(24);
    multisampled.samples = 4;
    FormatTraits accumulating = format(24);
    accumulating.accumRedBits = 16;
    EXPECT_EQ(
        chooseFormat({slow, multisampled, accumulating, format(24)}, zn::requestedPixelFormat()),
        4);
    EXPECT_EQ(chooseFormat({slow, format(16)}, zn::requestedPixelFormat()), 2);
}

TEST(ChooseFormat, RefusesFormatsThatCannotServeTheRequest) {
    FormatTraits single = format(24);
    single.doubleBuffer = false;
    FormatTraits pixmapOnly = format(24);
    pixmapOnly.window = false;
    FormatTraits overlay = format(24);
    overlay.mainPlane = false;
    FormatTraits colorIndex = format(24);
    colorIndex.rgba = false;
    colorIndex.colorIndex = true;
    EXPECT_EQ(chooseFormat({single, pixmapOnly, overlay, colorIndex}, zn::requestedPixelFormat()),
              0);
    EXPECT_EQ(chooseFormat({}, zn::requestedPixelFormat()), 0);

    PIXELFORMATDESCRIPTOR dontCare = zn::requestedPixelFormat();
    dontCare.dwFlags |= 0x40000000; // PFD_DOUBLEBUFFER_DONTCARE
    EXPECT_EQ(chooseFormat({single}, dontCare), 1);
}

TEST(DescribeFormat, FlagsTellTheDriverKind) {
    const PIXELFORMATDESCRIPTOR icd = describeFormat(format(24), false);
    EXPECT_EQ(icd.dwFlags, DWORD(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER));

    FormatTraits slow = format(24);
    slow.slow = true;
    EXPECT_EQ(describeFormat(slow, false).dwFlags & (PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED),
              DWORD(PFD_GENERIC_FORMAT));
    EXPECT_EQ(describeFormat(format(24), true).dwFlags &
                  (PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED),
              DWORD(PFD_GENERIC_FORMAT));
}

TEST(HasExtension, MatchesWholeNamesOnly) {
    const char* list = "GL_ARB_multitexture_ext GL_ARB_point_parameters GL_EXT_x";
    EXPECT_TRUE(hasExtension(list, "GL_ARB_point_parameters"));
    EXPECT_TRUE(hasExtension(list, "GL_EXT_x"));
    EXPECT_FALSE(hasExtension(list, "GL_ARB_multitexture"));
    EXPECT_FALSE(hasExtension(list, "ARB_point_parameters"));
    EXPECT_FALSE(hasExtension(nullptr, "GL_EXT_x"));
    EXPECT_FALSE(hasExtension(list, ""));
}
