// The message box dialog. It lives on an X connection of its own, opened for the box and closed
// after it, so that its event loop never takes events meant for the host or for the layer's
// connection, and the thread that shows it blocks until the user dismisses it, as on Windows.
#include <algorithm>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "platform/x11/dialog/dialog.h"
#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

const UINT kIconMask = 0xF0;
const int kMargin = 14;
const int kIconSize = 32;
const int kButtonWidth = 80;
const int kButtonHeight = 26;
const int kMaxTextWidth = 420;
const int kMinWidth = 220;

struct Palette {
    unsigned long face, text, light, shadow, red, yellow, white;
};

struct Dialog {
    Display* display = nullptr;
    int screen = 0;
    Window window = None;
    Window button = None;
    XFontStruct* font = nullptr;
    GC gc = nullptr;
    Palette palette = {};
    std::vector<std::string> lines;
    UINT icon = 0;
    int width = 0, height = 0, textX = 0, textY = 0, iconY = 0;
    bool buttonDown = false;
};

unsigned long colour(Display* display, int screen, const char* name, unsigned long fallback) {
    XColor colour;
    const Colormap map = DefaultColormap(display, screen);
    if (XParseColor(display, map, name, &colour) && XAllocColor(display, map, &colour))
        return colour.pixel;
    return fallback;
}

Palette palette(Display* display, int screen) {
    const unsigned long black = BlackPixel(display, screen), white = WhitePixel(display, screen);
    return {colour(display, screen, "#f0f0f0", white),
            black,
            white,
            colour(display, screen, "#a0a0a0", black),
            colour(display, screen, "#d83b2b", black),
            colour(display, screen, "#f5c211", white),
            white};
}

// Helvetica as Windows' message font stands in for the system font; "fixed" is always there.
XFontStruct* loadFont(Display* display) {
    for (const char* name : {"-*-helvetica-medium-r-normal--12-*-*-*-*-*-iso8859-1", "fixed"})
        if (XFontStruct* font = XLoadQueryFont(display, name))
            return font;
    return nullptr;
}

int textWidth(XFontStruct* font, const std::string& text) {
    return XTextWidth(font, text.c_str(), static_cast<int>(text.size()));
}

void layOut(Dialog& dialog, const std::string& text) {
    const bool icon = dialog.icon == MB_ICONERROR || dialog.icon == MB_ICONWARNING;
    dialog.textX = kMargin + (icon ? kIconSize + kMargin : 0);
    const int screenWidth = DisplayWidth(dialog.display, dialog.screen);
    const int maxText =
        std::max(60, std::min(kMaxTextWidth, screenWidth - dialog.textX - 2 * kMargin));
    dialog.lines = wrapMessage(
        text, maxText, [&](const std::string& line) { return textWidth(dialog.font, line); });
    int widest = 0;
    for (const std::string& line : dialog.lines)
        widest = std::max(widest, textWidth(dialog.font, line));
    const int lineHeight = dialog.font->ascent + dialog.font->descent;
    const int textHeight = lineHeight * static_cast<int>(dialog.lines.size());
    const int bodyHeight = std::max(textHeight, icon ? kIconSize : 0);
    dialog.textY = kMargin + (bodyHeight - textHeight) / 2;
    dialog.iconY = kMargin + (bodyHeight - (icon ? kIconSize : 0)) / 2;
    dialog.width = std::max(kMinWidth, dialog.textX + widest + kMargin);
    dialog.height = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;
}

// Centred on the owner when it still exists, else on the screen; kept on the screen.
void placement(const Dialog& dialog, Window owner, int& x, int& y) {
    int areaX = 0, areaY = 0;
    int areaWidth = DisplayWidth(dialog.display, dialog.screen);
    int areaHeight = DisplayHeight(dialog.display, dialog.screen);
    if (owner != None) {
        ErrorTrap trap(dialog.display);
        XWindowAttributes attributes;
        Window child;
        if (XGetWindowAttributes(dialog.display, owner, &attributes) &&
            XTranslateCoordinates(dialog.display, owner, attributes.root, 0, 0, &x, &y, &child) &&
            !trap.failed()) {
            areaX = x;
            areaY = y;
            areaWidth = attributes.width;
            areaHeight = attributes.height;
        }
    }
    x = areaX + (areaWidth - dialog.width) / 2;
    y = areaY + (areaHeight - dialog.height) / 2;
    x = std::max(0, std::min(x, DisplayWidth(dialog.display, dialog.screen) - dialog.width));
    y = std::max(0, std::min(y, DisplayHeight(dialog.display, dialog.screen) - dialog.height));
}

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

void setAtoms(Display* display, Window window, const char* property, const char* const* names,
              int count) {
    std::vector<Atom> atoms;
    for (int i = 0; i < count; ++i)
        atoms.push_back(XInternAtom(display, names[i], False));
    XChangeProperty(display, window, XInternAtom(display, property, False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(atoms.data()), count);
}

void setProperties(const Dialog& dialog, Window owner, const std::string& text,
                   const std::string& caption, int x, int y) {
    Display* display = dialog.display;
    const Window window = dialog.window;
    XStoreName(display, window, caption.c_str());
    const std::string title = utf8(caption);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XChangeProperty(display, window, XInternAtom(display, kMessageTextProperty, False), XA_STRING,
                    8, PropModeReplace, reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
    const long pid = getpid();
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    const char* type[] = {"_NET_WM_WINDOW_TYPE_DIALOG"};
    setAtoms(display, window, "_NET_WM_WINDOW_TYPE", type, 1);
    if (owner != None) {
        XSetTransientForHint(display, window, owner);
        const char* state[] = {"_NET_WM_STATE_MODAL"};
        setAtoms(display, window, "_NET_WM_STATE", state, 1);
    }
    char name[] = "znVelmora", className[] = "znVelmora";
    XClassHint classHint = {name, className};
    XSetClassHint(display, window, &classHint);
    XSizeHints size = {};
    size.flags = USPosition | PPosition | PMinSize | PMaxSize;
    size.x = x;
    size.y = y;
    size.min_width = size.max_width = dialog.width;
    size.min_height = size.max_height = dialog.height;
    XSetWMNormalHints(display, window, &size);
    XWMHints hints = {};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
}

void create(Dialog& dialog, Window owner, const std::string& text, const std::string& caption) {
    int x = 0, y = 0;
    placement(dialog, owner, x, y);
    Display* display = dialog.display;
    XSetWindowAttributes attributes = {};
    attributes.background_pixel = dialog.palette.face;
    attributes.event_mask = ExposureMask | KeyPressMask | StructureNotifyMask;
    dialog.window = XCreateWindow(display, RootWindow(display, dialog.screen), x, y, dialog.width,
                                  dialog.height, 0, CopyFromParent, InputOutput, CopyFromParent,
                                  CWBackPixel | CWEventMask, &attributes);
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask;
    dialog.button = XCreateWindow(display, dialog.window, (dialog.width - kButtonWidth) / 2,
                                  dialog.height - kMargin - kButtonHeight, kButtonWidth,
                                  kButtonHeight, 0, CopyFromParent, InputOutput, CopyFromParent,
                                  CWBackPixel | CWEventMask, &attributes);
    setProperties(dialog, owner, text, caption, x, y);
    dialog.gc = XCreateGC(display, dialog.window, 0, nullptr);
    XSetFont(display, dialog.gc, dialog.font->fid);
    XMapWindow(display, dialog.button);
    XMapRaised(display, dialog.window);
}

void drawIcon(const Dialog& dialog) {
    Display* display = dialog.display;
    GC gc = dialog.gc;
    const int x = kMargin, y = dialog.iconY;
    if (dialog.icon == MB_ICONERROR) {
        XSetForeground(display, gc, dialog.palette.red);
        XFillArc(display, dialog.window, gc, x, y, kIconSize, kIconSize, 0, 360 * 64);
        XSetForeground(display, gc, dialog.palette.white);
        XSetLineAttributes(display, gc, 4, LineSolid, CapRound, JoinRound);
        XDrawLine(display, dialog.window, gc, x + 11, y + 11, x + 21, y + 21);
        XDrawLine(display, dialog.window, gc, x + 21, y + 11, x + 11, y + 21);
    } else if (dialog.icon == MB_ICONWARNING) {
        XPoint triangle[] = {{short(x + 16), short(y + 1)},
                             {short(x + 31), short(y + 30)},
                             {short(x + 1), short(y + 30)},
                             {short(x + 16), short(y + 1)}};
        XSetForeground(display, gc, dialog.palette.yellow);
        XFillPolygon(display, dialog.window, gc, triangle, 3, Convex, CoordModeOrigin);
        XSetForeground(display, gc, dialog.palette.text);
        XSetLineAttributes(display, gc, 1, LineSolid, CapButt, JoinMiter);
        XDrawLines(display, dialog.window, gc, triangle, 4, CoordModeOrigin);
        XSetLineAttributes(display, gc, 3, LineSolid, CapRound, JoinRound);
        XDrawLine(display, dialog.window, gc, x + 16, y + 11, x + 16, y + 19);
        XFillArc(display, dialog.window, gc, x + 14, y + 23, 4, 4, 0, 360 * 64);
    }
    XSetLineAttributes(display, gc, 1, LineSolid, CapButt, JoinMiter);
}

void drawBody(const Dialog& dialog) {
    drawIcon(dialog);
    XSetForeground(dialog.display, dialog.gc, dialog.palette.text);
    const int lineHeight = dialog.font->ascent + dialog.font->descent;
    int baseline = dialog.textY + dialog.font->ascent;
    for (const std::string& line : dialog.lines) {
        XDrawString(dialog.display, dialog.window, dialog.gc, dialog.textX, baseline, line.c_str(),
                    static_cast<int>(line.size()));
        baseline += lineHeight;
    }
}

// A raised frame, sunken while pressed, with the default button's dotted focus rectangle.
void drawButton(const Dialog& dialog) {
    Display* display = dialog.display;
    const Window button = dialog.button;
    GC gc = dialog.gc;
    const int right = kButtonWidth - 1, bottom = kButtonHeight - 1;
    XClearWindow(display, button);
    XSetForeground(display, gc, dialog.palette.text);
    XDrawRectangle(display, button, gc, 0, 0, right, bottom);
    XSetForeground(display, gc, dialog.buttonDown ? dialog.palette.shadow : dialog.palette.light);
    XDrawLine(display, button, gc, 1, 1, right - 1, 1);
    XDrawLine(display, button, gc, 1, 1, 1, bottom - 1);
    XSetForeground(display, gc, dialog.buttonDown ? dialog.palette.light : dialog.palette.shadow);
    XDrawLine(display, button, gc, 1, bottom - 1, right - 1, bottom - 1);
    XDrawLine(display, button, gc, right - 1, 1, right - 1, bottom - 1);
    XSetForeground(display, gc, dialog.palette.text);
    const int shift = dialog.buttonDown ? 1 : 0;
    const int labelWidth = textWidth(dialog.font, "OK");
    const int labelHeight = dialog.font->ascent + dialog.font->descent;
    XDrawString(display, button, gc, (kButtonWidth - labelWidth) / 2 + shift,
                (kButtonHeight - labelHeight) / 2 + dialog.font->ascent + shift, "OK", 2);
    XSetLineAttributes(display, gc, 1, LineOnOffDash, CapButt, JoinMiter);
    XDrawRectangle(display, button, gc, 4, 4, kButtonWidth - 9, kButtonHeight - 9);
    XSetLineAttributes(display, gc, 1, LineSolid, CapButt, JoinMiter);
}

// Keyboard focus goes to the dialog once it is viewable, as a Windows message box takes it.
void takeFocus(const Dialog& dialog) {
    ErrorTrap trap(dialog.display);
    XSetInputFocus(dialog.display, dialog.window, RevertToParent, CurrentTime);
}

bool isInsideButton(int x, int y) {
    return x >= 0 && y >= 0 && x < kButtonWidth && y < kButtonHeight;
}

// Handles one event; true when it dismisses the dialog.
bool dismisses(Dialog& dialog, XEvent& event, Atom protocols, Atom deleteWindow) {
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0 && event.xexpose.window == dialog.button)
            drawButton(dialog);
        else if (event.xexpose.count == 0)
            drawBody(dialog);
        return false;
    case MapNotify:
        if (event.xmap.window == dialog.window)
            takeFocus(dialog);
        return false;
    case KeyPress: {
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        return key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space;
    }
    case ButtonPress:
        if (event.xbutton.button != Button1)
            return false;
        dialog.buttonDown = true;
        drawButton(dialog);
        return false;
    case ButtonRelease: {
        if (event.xbutton.button != Button1 || !dialog.buttonDown)
            return false;
        dialog.buttonDown = false;
        drawButton(dialog);
        return isInsideButton(event.xbutton.x, event.xbutton.y);
    }
    case ClientMessage:
        return event.xclient.message_type == protocols &&
               static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
    default:
        return false;
    }
}

void run(Dialog& dialog) {
    const Atom protocols = XInternAtom(dialog.display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(dialog.display, "WM_DELETE_WINDOW", False);
    for (;;) {
        XEvent event;
        XNextEvent(dialog.display, &event);
        if (dismisses(dialog, event, protocols, deleteWindow))
            return;
    }
}

} // namespace

bool showMessageDialog(HWND owner, const std::string& text, const std::string& caption,
                       UINT style) {
    // The dialog goes to the display the layer works on, the host's own when it handed one
    // over, where the owner window lives; DISPLAY may name another. Without a display the box is
    // the line alone, which is no failure to report.
    Display* layerDisplay = display(false);
    if (!layerDisplay)
        return false;
    Dialog dialog;
    dialog.display = XOpenDisplay(DisplayString(layerDisplay));
    if (!dialog.display)
        return false;
    dialog.screen = DefaultScreen(dialog.display);
    dialog.font = loadFont(dialog.display);
    if (!dialog.font) {
        XCloseDisplay(dialog.display);
        return false;
    }
    dialog.palette = palette(dialog.display, dialog.screen);
    dialog.icon = style & kIconMask;
    layOut(dialog, text);
    create(dialog, windowOf(owner), text, caption);
    run(dialog);
    // The GC and the font have client-side memory; the server frees the rest (windows,
    // colours) with the connection.
    XFreeGC(dialog.display, dialog.gc);
    XFreeFont(dialog.display, dialog.font);
    XCloseDisplay(dialog.display);
    return true;
}

} // namespace zn::x11
