// GDI font requests in XLFD terms, without a display.
#include <gtest/gtest.h>

#include <climits>

#include "platform/x11/x11_platform.h"

using namespace zn::x11;

namespace {

std::string familyOf(const char* face) {
    return fontRequest(15, 400, 0, ANSI_CHARSET, face).family;
}

int pixelSizeOf(int height) {
    return fontRequest(height, 400, 0, ANSI_CHARSET, "Arial").pixelSize;
}

const char* const kHelveticaBoldOblique[] = {
    "-adobe-helvetica-bold-o-normal--0-0-75-75-p-0-iso8859-1",
    "-adobe-helvetica-bold-o-normal--10-100-75-75-p-60-iso8859-1",
    "-adobe-helvetica-bold-o-normal--12-120-75-75-p-69-iso8859-1",
    "-adobe-helvetica-bold-o-normal--14-140-75-75-p-82-iso8859-1",
    "-adobe-helvetica-bold-o-normal--24-240-75-75-p-138-iso8859-1",
};

std::vector<std::string> listed(bool withScalable) {
    std::vector<std::string> names(std::begin(kHelveticaBoldOblique) + (withScalable ? 0 : 1),
                                   std::end(kHelveticaBoldOblique));
    names.push_back("fixed"); // an alias is no XLFD and tells no size
    return names;
}

} // namespace

TEST(FontRequest, MapsWindowsFacesToXFamilies) {
    EXPECT_EQ(familyOf("Arial"), "helvetica");
    EXPECT_EQ(familyOf("TAHOMA"), "helvetica");
    EXPECT_EQ(familyOf("Times New Roman"), "times");
    EXPECT_EQ(familyOf("Courier New"), "courier");
    EXPECT_EQ(familyOf("Lucida"), "lucida");
    // Names that would break the pattern, and no name at all.
    EXPECT_EQ(familyOf("evil-*-font"), "helvetica");
    EXPECT_EQ(familyOf(""), "helvetica");
    EXPECT_EQ(familyOf(nullptr), "helvetica");
    EXPECT_EQ(familyOf("Times New Roman but longer than gdi reads"),
              "times new roman but longer than");
}

TEST(FontRequest, ReadsHeightsAsGdiDoes) {
    EXPECT_EQ(pixelSizeOf(-15), 15); // character height
    EXPECT_EQ(pixelSizeOf(15), 13);  // cell height, internal leading removed
    EXPECT_EQ(pixelSizeOf(0), 12);   // the default size
    EXPECT_EQ(pixelSizeOf(INT_MIN), 256);
    EXPECT_EQ(pixelSizeOf(INT_MAX), 256);
    EXPECT_EQ(pixelSizeOf(1), 1);
}

TEST(XlfdCandidates, RelaxSlantWeightAndFamilyDownToFixed) {
    const std::vector<std::string> expected = {
        "-*-lucida-bold-i-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-lucida-bold-o-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-lucida-bold-*-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-lucida-*-*-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-helvetica-bold-i-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-helvetica-bold-o-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-helvetica-bold-*-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-helvetica-*-*-normal-*-*-*-*-*-*-*-iso8859-1",
        "-*-*-*-*-normal-*-*-*-*-*-*-*-iso8859-1",
        "fixed",
    };
    EXPECT_EQ(xlfdCandidates(fontRequest(15, 700, 1, ANSI_CHARSET, "Lucida")), expected);

    const std::vector<std::string> upright =
        xlfdCandidates(fontRequest(15, 400, 0, ANSI_CHARSET, "Arial"));
    EXPECT_EQ(upright.front(), "-*-helvetica-medium-r-normal-*-*-*-*-*-*-*-iso8859-1");
    EXPECT_EQ(upright.size(), 5u);
}

TEST(ChooseFontName, PrefersTheNearestBitmapSize) {
    EXPECT_EQ(chooseFontName(listed(true), 14), kHelveticaBoldOblique[3]);
    // As near to 13 as 12 and 14 are: the smaller, as GDI never exceeds a height.
    EXPECT_EQ(chooseFontName(listed(true), 13), kHelveticaBoldOblique[2]);
    EXPECT_EQ(chooseFontName(listed(true), 26), kHelveticaBoldOblique[4]);
}

TEST(ChooseFontName, ScalesWhenNoBitmapSizeIsNear) {
    EXPECT_EQ(chooseFontName(listed(true), 40),
              "-adobe-helvetica-bold-o-normal--40-*-75-75-p-*-iso8859-1");
    EXPECT_EQ(chooseFontName(listed(false), 40), kHelveticaBoldOblique[4]);
    EXPECT_EQ(chooseFontName({"fixed"}, 12), "");
    EXPECT_EQ(chooseFontName({}, 12), "");
}
