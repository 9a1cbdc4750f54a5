// The dialog's window and what drawing it needs, shared by its layout, its creation, its
// drawing and its event loop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <xcb/xcb.h>

#include "platform/win32api.h"
#include "platform/x11/dialog/core_font.h"

namespace zn::x11::dialog {

inline constexpr UINT kIconMask = 0xF0; // the MB_ICON* bits of a box's style
inline constexpr int kMargin = 14;
inline constexpr int kIconSize = 32;
inline constexpr int kButtonWidth = 80;
inline constexpr int kButtonHeight = 26;

struct Palette {
    uint32_t face, text, light, shadow, red, yellow, white;
};

// The atoms the dialog names, interned together in one round trip.
struct Atoms {
    xcb_atom_t netWmName, utf8String, messageText, netWmPid, netWmWindowType, netWmWindowTypeDialog,
        netWmState, netWmStateModal, wmProtocols, wmDeleteWindow, wmState;
};

struct Box {
    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;
    Atoms atoms = {};
    xcb_window_t window = 0;
    xcb_window_t button = 0;
    xcb_gcontext_t gc = 0;
    CoreFont font;
    Palette palette = {};
    std::vector<std::string> lines;
    UINT icon = 0; // MB_ICONERROR, MB_ICONWARNING or another icon, not drawn
    int width = 0, height = 0, textX = 0, textY = 0, iconY = 0;
    bool buttonDown = false;
};

// ---- layout.cpp
Palette palette(xcb_connection_t* connection, const xcb_screen_t& screen);
// Wraps the text and sizes the box around it.
void layOut(Box& box, const std::string& text);
// Where the box goes: centred on the owner when it still exists, else on the screen.
void placement(const Box& box, xcb_window_t owner, int& x, int& y);

// ---- window.cpp
Atoms internAtoms(xcb_connection_t* connection);
// Creates the box's windows with the properties window managers and tools read (title, text,
// pid, type, size, protocols), and asks for them to be mapped.
void create(Box& box, xcb_window_t owner, const std::string& text, const std::string& caption);

// ---- draw.cpp
void drawBody(const Box& box);
// A raised frame, sunken while pressed, with the default button's dotted focus rectangle.
void drawButton(const Box& box);

} // namespace zn::x11::dialog
