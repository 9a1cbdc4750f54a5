// A core X font over xcb, measured on the client: the server sends the metrics once, so that
// wrapping a text costs no round trip per measure.
#pragma once

#include <array>
#include <initializer_list>
#include <string>

#include <xcb/xcb.h>

namespace zn::x11::dialog {

class CoreFont {
  public:
    // Opens the first of the names (XLFD patterns allowed) the server has; false when none.
    bool open(xcb_connection_t* connection, std::initializer_list<const char*> names);

    xcb_font_t id() const { return font; }
    int ascent() const { return fontAscent; }
    int lineHeight() const { return fontAscent + fontDescent; }
    // The advance of a Latin-1 text, as XTextWidth gives it.
    int width(const std::string& text) const;

    // Draws a Latin-1 text at a baseline with a GC that has this font selected.
    static void draw(xcb_connection_t* connection, xcb_drawable_t drawable, xcb_gcontext_t gc,
                     int x, int y, const std::string& text);

  private:
    bool measure(xcb_connection_t* connection);

    xcb_font_t font = 0;
    int fontAscent = 0, fontDescent = 0;
    std::array<int, 256> advance = {};
};

} // namespace zn::x11::dialog
