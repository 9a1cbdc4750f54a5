// The message box dialog: its connection and its event loop.
//
// Why xcb: a dialog's connection must never end, hang or disturb the host, whatever another
// client does to it. The dialog speaks the core protocol through xcb on a connection of its own,
// opened for the box and closed after it, which keeps every fault to that connection: a
// protocol error comes back as an event the loop ignores, a lost connection is a flag the loop
// reads, and xcb has no process-wide handler or state, so boxes on several threads run side by
// side and the host's Xlib handlers are neither replaced nor called. The alternatives fall
// short: Xlib sends every protocol error to one process-wide handler (the host's, or Xlib's
// which exits), and on a lost connection calls the process-wide IO error handler before the
// per-display exit handler of libX11 1.7 and later, so a killed dialog would still run the
// host's handler; a child process, as SDL2 uses, has to fork a host that may run other threads,
// where only async-signal-safe calls are sound until an exec, and the library ships no program
// to exec.
//
// The box ends as dismissed when the user answers it, when another client destroys its window,
// when its connection is lost (xkill, a window manager's force-quit, the server going away), and
// when no window manager maps or manages it within kMapDeadline: a box no one can see would
// block its thread for good.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <pthread.h>

#include <X11/keysym.h>

#include "platform/x11/dialog/box.h"
#include "platform/x11/dialog/dialog.h"
#include "platform/x11/dialog/reply.h"

namespace zn::x11 {

namespace {

using namespace dialog;
using Clock = std::chrono::steady_clock;

const auto kMapDeadline = std::chrono::seconds(5);
const int kLookAgainMs = 100;
const uint8_t kLeftButton = 1;

// The key's symbol without modifiers, as XLookupKeysym(event, 0) gives it.
uint32_t keySymbol(xcb_connection_t* connection, xcb_keycode_t key) {
    Reply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, key, 1), nullptr));
    if (!mapping || xcb_get_keyboard_mapping_keysyms_length(mapping.get()) < 1)
        return 0;
    return xcb_get_keyboard_mapping_keysyms(mapping.get())[0];
}

bool dismissingKey(uint32_t symbol) {
    return symbol == XK_Return || symbol == XK_KP_Enter || symbol == XK_Escape ||
           symbol == XK_space;
}

bool isInsideButton(int x, int y) {
    return x >= 0 && y >= 0 && x < kButtonWidth && y < kButtonHeight;
}

// Keyboard focus goes to the dialog once it is viewable, as a Windows message box takes it.
void takeFocus(const Box& box) {
    xcb_set_input_focus(box.connection, XCB_INPUT_FOCUS_PARENT, box.window, XCB_CURRENT_TIME);
}

// NOTE: libxcb writes with writev, which raises SIGPIPE when the server has closed the
// connection between xcb's poll and its write (a box killed on a TCP display), and SIGPIPE ends
// the process by default. The signal is held back on the box's thread while it runs, and one it
// raised there is discarded; the host's disposition of SIGPIPE is left alone.
class BrokenPipeHold {
  public:
    BrokenPipeHold() {
        sigemptyset(&brokenPipe);
        sigaddset(&brokenPipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &brokenPipe, &maskBefore);
        sigset_t pending;
        sigpending(&pending);
        pendingBefore = sigismember(&pending, SIGPIPE) == 1;
    }
    ~BrokenPipeHold() {
        const timespec now = {0, 0};
        if (!pendingBefore)
            while (sigtimedwait(&brokenPipe, nullptr, &now) == SIGPIPE) {
            }
        pthread_sigmask(SIG_SETMASK, &maskBefore, nullptr);
    }
    BrokenPipeHold(const BrokenPipeHold&) = delete;
    BrokenPipeHold& operator=(const BrokenPipeHold&) = delete;

  private:
    sigset_t brokenPipe, maskBefore;
    bool pendingBefore;
};

struct Loop {
    Box& box;
    bool shown = false; // mapped, or managed by a window manager (which may keep it iconic)

    // Handles one event; true when it dismisses the box.
    bool dismisses(const xcb_generic_event_t& event) {
        switch (event.response_type & ~0x80) { // the high bit marks events another client sent
        case XCB_EXPOSE: {
            const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
            if (expose.count == 0 && expose.window == box.button)
                drawButton(box);
            else if (expose.count == 0 && expose.window == box.window)
                drawBody(box);
            return false;
        }
        case XCB_MAP_NOTIFY:
            if (reinterpret_cast<const xcb_map_notify_event_t&>(event).window == box.window) {
                shown = true;
                takeFocus(box);
            }
            return false;
        case XCB_PROPERTY_NOTIFY: {
            const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            shown |= change.atom == box.atoms.wmState && change.state == XCB_PROPERTY_NEW_VALUE;
            return false;
        }
        case XCB_KEY_PRESS:
            return dismissingKey(keySymbol(
                box.connection, reinterpret_cast<const xcb_key_press_event_t&>(event).detail));
        case XCB_BUTTON_PRESS:
            if (reinterpret_cast<const xcb_button_press_event_t&>(event).detail != kLeftButton)
                return false;
            box.buttonDown = true;
            drawButton(box);
            return false;
        case XCB_BUTTON_RELEASE: {
            const auto& release = reinterpret_cast<const xcb_button_release_event_t&>(event);
            if (release.detail != kLeftButton || !box.buttonDown)
                return false;
            box.buttonDown = false;
            drawButton(box);
            return isInsideButton(release.event_x, release.event_y);
        }
        case XCB_CLIENT_MESSAGE: {
            const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
            return message.type == box.atoms.wmProtocols &&
                   message.data.data32[0] == box.atoms.wmDeleteWindow;
        }
        case XCB_DESTROY_NOTIFY:
            return reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == box.window;
        default: // errors (response type 0) included: a request on a window already gone
            return false;
        }
    }

    // Handles every event already received; true when one dismissed the box.
    bool drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(box.connection)) {
            const bool dismissed = dismisses(*event);
            std::free(event);
            if (dismissed)
                return true;
        }
        return false;
    }

    void run() {
        const Clock::time_point deadline = Clock::now() + kMapDeadline;
        pollfd connection = {xcb_get_file_descriptor(box.connection), POLLIN, 0};
        for (;;) {
            if (drain() || xcb_connection_has_error(box.connection))
                return;
            xcb_flush(box.connection); // what the events drew, before waiting for more
            // xcb may take events into its queue while it flushes (when the socket is full),
            // where poll cannot see them: the loop looks again at least this often.
            int timeout = kLookAgainMs;
            if (!shown) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
                if (left.count() <= 0)
                    return;
                timeout = std::min(timeout, static_cast<int>(left.count()));
            }
            poll(&connection, 1, timeout);
        }
    }
};

} // namespace

bool showMessageDialog(const std::string& displayName, uint32_t owner, const std::string& text,
                       const std::string& caption, UINT style) {
    BrokenPipeHold brokenPipe;
    int screenNumber = 0;
    Box box;
    box.connection = xcb_connect(displayName.c_str(), &screenNumber);
    if (xcb_connection_has_error(box.connection)) {
        xcb_disconnect(box.connection);
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(box.connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    box.screen = screens.rem ? screens.data : nullptr;
    // Helvetica as Windows' message font stands in for the system font; "fixed" is always there.
    const bool ready =
        box.screen &&
        box.font.open(box.connection,
                      {"-*-helvetica-medium-r-normal--12-*-*-*-*-*-iso8859-1", "fixed"});
    if (ready) {
        box.atoms = internAtoms(box.connection);
        box.palette = palette(box.connection, *box.screen);
        box.icon = style & kIconMask;
        layOut(box, text);
        create(box, owner, text, caption);
        Loop{box}.run();
    }
    // The server frees the windows, the GC, the font and the colours with the connection.
    xcb_disconnect(box.connection);
    return ready;
}

} // namespace zn::x11
