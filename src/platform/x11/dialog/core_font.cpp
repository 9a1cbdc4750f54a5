#include "platform/x11/dialog/core_font.h"
#include "platform/x11/dialog/reply.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zn::x11::dialog {

namespace {

// The metrics of a character, null for one the font lacks. An 8-bit text addresses row 0 of
// the font, and a font without per-character metrics gives every character its min_bounds.
const xcb_charinfo_t* characterInfo(const xcb_query_font_reply_t& font, const xcb_charinfo_t* infos,
                                    int count, unsigned row, unsigned column) {
    if (row < font.min_byte1 || row > font.max_byte1 || column < font.min_char_or_byte2 ||
        column > font.max_char_or_byte2)
        return nullptr;
    if (count == 0)
        return &font.min_bounds;
    const unsigned columns = font.max_char_or_byte2 - font.min_char_or_byte2 + 1u;
    const unsigned at = (row - font.min_byte1) * columns + (column - font.min_char_or_byte2);
    if (at >= static_cast<unsigned>(count))
        return nullptr;
    const xcb_charinfo_t& info = infos[at];
    const bool missing = info.character_width == 0 && info.left_side_bearing == 0 &&
                         info.right_side_bearing == 0 && info.ascent == 0 && info.descent == 0;
    return missing ? nullptr : &info;
}

} // namespace

bool CoreFont::open(xcb_connection_t* connection, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        font = xcb_generate_id(connection);
        const xcb_void_cookie_t opened =
            xcb_open_font_checked(connection, font, static_cast<uint16_t>(std::strlen(name)), name);
        Reply<xcb_generic_error_t> error(xcb_request_check(connection, opened));
        if (!error)
            return measure(connection);
    }
    return false;
}

bool CoreFont::measure(xcb_connection_t* connection) {
    Reply<xcb_query_font_reply_t> reply(
        xcb_query_font_reply(connection, xcb_query_font(connection, font), nullptr));
    if (!reply)
        return false;
    fontAscent = reply->font_ascent;
    fontDescent = reply->font_descent;
    const xcb_charinfo_t* infos = xcb_query_font_char_infos(reply.get());
    const int count = xcb_query_font_char_infos_length(reply.get());
    const xcb_charinfo_t* fallback =
        characterInfo(*reply, infos, count, reply->default_char >> 8, reply->default_char & 0xFF);
    for (unsigned c = 0; c < advance.size(); ++c) {
        const xcb_charinfo_t* info = characterInfo(*reply, infos, count, 0, c);
        if (!info)
            info = fallback;
        advance[c] = info ? info->character_width : 0;
    }
    return true;
}

int CoreFont::width(const std::string& text) const {
    int total = 0;
    for (unsigned char c : text)
        total += advance[c];
    return total;
}

void CoreFont::draw(xcb_connection_t* connection, xcb_drawable_t drawable, xcb_gcontext_t gc, int x,
                    int y, const std::string& text) {
    // PolyText8 takes items of at most 254 characters: a length, a horizontal delta of 0 (each
    // item starts where the last one ended), then the characters.
    std::vector<uint8_t> items;
    for (size_t at = 0; at < text.size(); at += 254) {
        const size_t length = std::min<size_t>(254, text.size() - at);
        items.push_back(static_cast<uint8_t>(length));
        items.push_back(0);
        items.insert(items.end(), text.begin() + at, text.begin() + at + length);
    }
    if (!items.empty())
        xcb_poly_text_8(connection, drawable, gc, static_cast<int16_t>(x), static_cast<int16_t>(y),
                        static_cast<uint32_t>(items.size()), items.data());
}

} // namespace zn::x11::dialog
