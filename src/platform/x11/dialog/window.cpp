// The dialog's windows and the properties that tell window managers and tools what it is.
#include <cstring>
#include <unistd.h>

#include <xcb/xcb.h>

#include "platform/x11/dialog/box.h"
#include "platform/x11/dialog/dialog.h"
#include "platform/x11/dialog/reply.h"

namespace zn::x11::dialog {

namespace {

// ICCCM's WM_SIZE_HINTS and WM_HINTS flags.
const uint32_t kUSPosition = 1, kPPosition = 4, kPMinSize = 16, kPMaxSize = 32;
const uint32_t kInputHint = 1;

// Window managers read _NET_WM_NAME as UTF-8; the library's text is Latin-1.
std::string utf8(const std::string& latin1) {
    std::string out;
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void setBytes(const Box& box, xcb_atom_t property, xcb_atom_t type, const std::string& value) {
    xcb_change_property(box.connection, XCB_PROP_MODE_REPLACE, box.window, property, type, 8,
                        static_cast<uint32_t>(value.size()), value.data());
}

void setWords(const Box& box, xcb_atom_t property, xcb_atom_t type,
              const std::vector<uint32_t>& words) {
    xcb_change_property(box.connection, XCB_PROP_MODE_REPLACE, box.window, property, type, 32,
                        static_cast<uint32_t>(words.size()), words.data());
}

void setProperties(const Box& box, xcb_window_t owner, const std::string& text,
                   const std::string& caption, int x, int y) {
    const Atoms& atoms = box.atoms;
    setBytes(box, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, caption);
    setBytes(box, atoms.netWmName, atoms.utf8String, utf8(caption));
    setBytes(box, atoms.messageText, XCB_ATOM_STRING, text);
    setWords(box, atoms.netWmPid, XCB_ATOM_CARDINAL, {static_cast<uint32_t>(getpid())});
    setWords(box, atoms.netWmWindowType, XCB_ATOM_ATOM, {atoms.netWmWindowTypeDialog});
    if (owner) {
        setWords(box, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, {owner});
        setWords(box, atoms.netWmState, XCB_ATOM_ATOM, {atoms.netWmStateModal});
    }
    setBytes(box, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, std::string("znVelmora\0znVelmora", 20));
    // flags, x, y, width, height, minimum and maximum size, increments, aspects, base, gravity
    std::vector<uint32_t> size(18, 0);
    size[0] = kUSPosition | kPPosition | kPMinSize | kPMaxSize;
    size[1] = static_cast<uint32_t>(x);
    size[2] = static_cast<uint32_t>(y);
    size[5] = size[7] = static_cast<uint32_t>(box.width);
    size[6] = size[8] = static_cast<uint32_t>(box.height);
    setWords(box, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, size);
    // flags, input, then the initial state, icon and group this dialog leaves unset
    std::vector<uint32_t> hints(9, 0);
    hints[0] = kInputHint;
    hints[1] = 1;
    setWords(box, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, hints);
    setWords(box, atoms.wmProtocols, XCB_ATOM_ATOM, {atoms.wmDeleteWindow});
}

} // namespace

Atoms internAtoms(xcb_connection_t* connection) {
    const char* const names[] = {"_NET_WM_NAME",
                                 "UTF8_STRING",
                                 kMessageTextProperty,
                                 "_NET_WM_PID",
                                 "_NET_WM_WINDOW_TYPE",
                                 "_NET_WM_WINDOW_TYPE_DIALOG",
                                 "_NET_WM_STATE",
                                 "_NET_WM_STATE_MODAL",
                                 "WM_PROTOCOLS",
                                 "WM_DELETE_WINDOW",
                                 "WM_STATE"};
    constexpr size_t count = sizeof names / sizeof names[0];
    xcb_intern_atom_cookie_t cookies[count];
    for (size_t i = 0; i < count; ++i)
        cookies[i] =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    xcb_atom_t atoms[count];
    for (size_t i = 0; i < count; ++i) {
        Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[i], nullptr));
        atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    return {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5],
            atoms[6], atoms[7], atoms[8], atoms[9], atoms[10]};
}

void create(Box& box, xcb_window_t owner, const std::string& text, const std::string& caption) {
    int x = 0, y = 0;
    placement(box, owner, x, y);
    xcb_connection_t* connection = box.connection;
    box.window = xcb_generate_id(connection);
    // Values in the order of their mask bits: background pixel, then event mask.
    uint32_t values[] = {box.palette.face, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS |
                                               XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                                               XCB_EVENT_MASK_PROPERTY_CHANGE};
    const uint32_t mask = XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, box.window, box.screen->root,
                      static_cast<int16_t>(x), static_cast<int16_t>(y),
                      static_cast<uint16_t>(box.width), static_cast<uint16_t>(box.height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, mask, values);
    box.button = xcb_generate_id(connection);
    values[1] =
        XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, box.button, box.window,
                      static_cast<int16_t>((box.width - kButtonWidth) / 2),
                      static_cast<int16_t>(box.height - kMargin - kButtonHeight), kButtonWidth,
                      kButtonHeight, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, mask,
                      values);
    setProperties(box, owner, text, caption, x, y);
    box.gc = xcb_generate_id(connection);
    const uint32_t font = box.font.id();
    xcb_create_gc(connection, box.gc, box.window, XCB_GC_FONT, &font);
    xcb_map_window(connection, box.button);
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection, box.window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_map_window(connection, box.window);
}

} // namespace zn::x11::dialog
