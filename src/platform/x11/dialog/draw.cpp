// The dialog's drawing: icon, text and OK button, in the look of a Windows message box.
#include "platform/x11/dialog/box.h"

namespace zn::x11::dialog {

namespace {

void setForeground(const Box& box, uint32_t pixel) {
    xcb_change_gc(box.connection, box.gc, XCB_GC_FOREGROUND, &pixel);
}

void setLine(const Box& box, uint32_t width, uint32_t style, uint32_t cap, uint32_t join) {
    const uint32_t values[] = {width, style, cap, join};
    xcb_change_gc(box.connection, box.gc,
                  XCB_GC_LINE_WIDTH | XCB_GC_LINE_STYLE | XCB_GC_CAP_STYLE | XCB_GC_JOIN_STYLE,
                  values);
}

void setSolidLine(const Box& box, uint32_t width) {
    setLine(box, width, XCB_LINE_STYLE_SOLID, width > 1 ? XCB_CAP_STYLE_ROUND : XCB_CAP_STYLE_BUTT,
            width > 1 ? XCB_JOIN_STYLE_ROUND : XCB_JOIN_STYLE_MITER);
}

void line(const Box& box, xcb_drawable_t drawable, int x1, int y1, int x2, int y2) {
    const xcb_segment_t segment = {int16_t(x1), int16_t(y1), int16_t(x2), int16_t(y2)};
    xcb_poly_segment(box.connection, drawable, box.gc, 1, &segment);
}

void fillCircle(const Box& box, int x, int y, int diameter) {
    const xcb_arc_t arc = {int16_t(x),         int16_t(y), uint16_t(diameter),
                           uint16_t(diameter), 0,          360 * 64};
    xcb_poly_fill_arc(box.connection, box.window, box.gc, 1, &arc);
}

void rectangle(const Box& box, xcb_drawable_t drawable, int x, int y, int width, int height) {
    const xcb_rectangle_t frame = {int16_t(x), int16_t(y), uint16_t(width), uint16_t(height)};
    xcb_poly_rectangle(box.connection, drawable, box.gc, 1, &frame);
}

void drawIcon(const Box& box) {
    const int x = kMargin, y = box.iconY;
    if (box.icon == MB_ICONERROR) {
        setForeground(box, box.palette.red);
        fillCircle(box, x, y, kIconSize);
        setForeground(box, box.palette.white);
        setSolidLine(box, 4);
        line(box, box.window, x + 11, y + 11, x + 21, y + 21);
        line(box, box.window, x + 21, y + 11, x + 11, y + 21);
    } else if (box.icon == MB_ICONWARNING) {
        const xcb_point_t triangle[] = {{int16_t(x + 16), int16_t(y + 1)},
                                        {int16_t(x + 31), int16_t(y + 30)},
                                        {int16_t(x + 1), int16_t(y + 30)},
                                        {int16_t(x + 16), int16_t(y + 1)}};
        setForeground(box, box.palette.yellow);
        xcb_fill_poly(box.connection, box.window, box.gc, XCB_POLY_SHAPE_CONVEX,
                      XCB_COORD_MODE_ORIGIN, 3, triangle);
        setForeground(box, box.palette.text);
        setSolidLine(box, 1);
        xcb_poly_line(box.connection, XCB_COORD_MODE_ORIGIN, box.window, box.gc, 4, triangle);
        setSolidLine(box, 3);
        line(box, box.window, x + 16, y + 11, x + 16, y + 19);
        fillCircle(box, x + 14, y + 23, 4);
    }
    setSolidLine(box, 1);
}

} // namespace

void drawBody(const Box& box) {
    drawIcon(box);
    setForeground(box, box.palette.text);
    int baseline = box.textY + box.font.ascent();
    for (const std::string& text : box.lines) {
        CoreFont::draw(box.connection, box.window, box.gc, box.textX, baseline, text);
        baseline += box.font.lineHeight();
    }
}

void drawButton(const Box& box) {
    const xcb_window_t button = box.button;
    const int right = kButtonWidth - 1, bottom = kButtonHeight - 1;
    xcb_clear_area(box.connection, 0, button, 0, 0, 0, 0);
    setForeground(box, box.palette.text);
    rectangle(box, button, 0, 0, right, bottom);
    setForeground(box, box.buttonDown ? box.palette.shadow : box.palette.light);
    line(box, button, 1, 1, right - 1, 1);
    line(box, button, 1, 1, 1, bottom - 1);
    setForeground(box, box.buttonDown ? box.palette.light : box.palette.shadow);
    line(box, button, 1, bottom - 1, right - 1, bottom - 1);
    line(box, button, right - 1, 1, right - 1, bottom - 1);
    setForeground(box, box.palette.text);
    const int shift = box.buttonDown ? 1 : 0;
    const int labelWidth = box.font.width("OK");
    CoreFont::draw(box.connection, button, box.gc, (kButtonWidth - labelWidth) / 2 + shift,
                   (kButtonHeight - box.font.lineHeight()) / 2 + box.font.ascent() + shift, "OK");
    setLine(box, 1, XCB_LINE_STYLE_ON_OFF_DASH, XCB_CAP_STYLE_BUTT, XCB_JOIN_STYLE_MITER);
    rectangle(box, button, 4, 4, kButtonWidth - 9, kButtonHeight - 9);
    setSolidLine(box, 1);
}

} // namespace zn::x11::dialog
