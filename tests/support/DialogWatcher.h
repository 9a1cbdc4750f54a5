// Watches an X display for the message box dialogs of this process, from a thread with a
// connection of its own, as another client sees them: it reads each dialog's caption and text
// when it is mapped, then answers it (presses Return unless told otherwise).
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SeenDialog {
    Window window;
    std::string caption;    // WM_NAME
    std::string netCaption; // _NET_WM_NAME
    std::string text;       // the text property the dialog carries
    Window transientFor;    // None without an owner
    int x, y, width, height;
};

class DialogWatcher {
  public:
    using Answer = std::function<void(Display*, const SeenDialog&)>;

    // Without a display the watcher sees nothing: connected() is false.
    explicit DialogWatcher(Answer answer = pressReturn);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    bool connected() const;
    // Stops watching and answers the dialogs seen, in the order they were mapped.
    std::vector<SeenDialog> stop();

    // Ways to answer: keys as a user types them, a click on OK, the window manager's close.
    static void pressReturn(Display* display, const SeenDialog& dialog);
    static void pressKey(Display* display, Window window, unsigned long keysym);
    static void clickOk(Display* display, const SeenDialog& dialog);
    static void closeFromWindowManager(Display* display, const SeenDialog& dialog);

  private:
    struct State;
    std::unique_ptr<State> state;
};
