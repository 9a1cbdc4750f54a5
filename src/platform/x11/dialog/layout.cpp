// The dialog's colours, size and place.
#include <algorithm>

#include "platform/x11/dialog/box.h"
#include "platform/x11/dialog/dialog.h"
#include "platform/x11/dialog/reply.h"

namespace zn::x11::dialog {

namespace {

const int kMaxTextWidth = 420;
const int kMinWidth = 220;

// Colours as 0xRRGGBB; each channel's 8 bits are the high bits of the 16 the server takes.
xcb_alloc_color_cookie_t requestColour(xcb_connection_t* connection, const xcb_screen_t& screen,
                                       uint32_t rgb) {
    return xcb_alloc_color(
        connection, screen.default_colormap, static_cast<uint16_t>((rgb >> 16 & 0xFF) << 8),
        static_cast<uint16_t>((rgb >> 8 & 0xFF) << 8), static_cast<uint16_t>((rgb & 0xFF) << 8));
}

uint32_t colour(xcb_connection_t* connection, xcb_alloc_color_cookie_t cookie, uint32_t fallback) {
    Reply<xcb_alloc_color_reply_t> reply(xcb_alloc_color_reply(connection, cookie, nullptr));
    return reply ? reply->pixel : fallback;
}

} // namespace

Palette palette(xcb_connection_t* connection, const xcb_screen_t& screen) {
    // Asked for together, answered in one round trip.
    const xcb_alloc_color_cookie_t face = requestColour(connection, screen, 0xF0F0F0),
                                   shadow = requestColour(connection, screen, 0xA0A0A0),
                                   red = requestColour(connection, screen, 0xD83B2B),
                                   yellow = requestColour(connection, screen, 0xF5C211);
    const uint32_t black = screen.black_pixel, white = screen.white_pixel;
    Palette colours;
    colours.face = colour(connection, face, white);
    colours.text = black;
    colours.light = white;
    colours.shadow = colour(connection, shadow, black);
    colours.red = colour(connection, red, black);
    colours.yellow = colour(connection, yellow, white);
    colours.white = white;
    return colours;
}

void layOut(Box& box, const std::string& text) {
    const bool icon = box.icon == MB_ICONERROR || box.icon == MB_ICONWARNING;
    box.textX = kMargin + (icon ? kIconSize + kMargin : 0);
    const int screenWidth = box.screen->width_in_pixels;
    const int maxText =
        std::max(60, std::min(kMaxTextWidth, screenWidth - box.textX - 2 * kMargin));
    box.lines =
        wrapMessage(text, maxText, [&](const std::string& line) { return box.font.width(line); });
    int widest = 0;
    for (const std::string& line : box.lines)
        widest = std::max(widest, box.font.width(line));
    const int textHeight = box.font.lineHeight() * static_cast<int>(box.lines.size());
    const int bodyHeight = std::max(textHeight, icon ? kIconSize : 0);
    box.textY = kMargin + (bodyHeight - textHeight) / 2;
    box.iconY = kMargin + (bodyHeight - (icon ? kIconSize : 0)) / 2;
    box.width = std::max(kMinWidth, box.textX + widest + kMargin);
    box.height = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;
}

void placement(const Box& box, xcb_window_t owner, int& x, int& y) {
    const int screenWidth = box.screen->width_in_pixels;
    const int screenHeight = box.screen->height_in_pixels;
    int areaX = 0, areaY = 0, areaWidth = screenWidth, areaHeight = screenHeight;
    if (owner) {
        xcb_connection_t* connection = box.connection;
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, owner), nullptr));
        Reply<xcb_translate_coordinates_reply_t> origin;
        if (geometry)
            origin.reset(xcb_translate_coordinates_reply(
                connection, xcb_translate_coordinates(connection, owner, geometry->root, 0, 0),
                nullptr));
        if (origin) {
            areaX = origin->dst_x;
            areaY = origin->dst_y;
            areaWidth = geometry->width;
            areaHeight = geometry->height;
        }
    }
    x = areaX + (areaWidth - box.width) / 2;
    y = areaY + (areaHeight - box.height) / 2;
    x = std::max(0, std::min(x, screenWidth - box.width));
    y = std::max(0, std::min(y, screenHeight - box.height));
}

} // namespace zn::x11::dialog
