#include "DialogWatcher.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <atomic>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

struct DialogWatcher::State {
    Display* display = nullptr;
    Answer answer;
    std::thread thread;
    std::atomic<bool> running{true};
    std::mutex mutex;
    std::vector<SeenDialog> seen;
};

namespace {

// A dialog may close between the map event and the watcher's requests about it; such errors
// on a watcher's connection are expected. Installed once, before the library's first error
// trap so that the trap hands it other connections' errors.
std::mutex watchedMutex;
std::vector<Display*> watchedDisplays;
XErrorHandler handlerBefore = nullptr;

int ignoreWatcherErrors(Display* display, XErrorEvent* event) {
    {
        std::lock_guard<std::mutex> lock(watchedMutex);
        for (Display* watched : watchedDisplays)
            if (watched == display)
                return 0;
    }
    return handlerBefore ? handlerBefore(display, event) : 0;
}

void watchErrorsOf(Display* display, bool watch) {
    static std::once_flag installed;
    std::call_once(installed, [] { handlerBefore = XSetErrorHandler(ignoreWatcherErrors); });
    std::lock_guard<std::mutex> lock(watchedMutex);
    if (watch) {
        watchedDisplays.push_back(display);
        return;
    }
    for (auto at = watchedDisplays.begin(); at != watchedDisplays.end(); ++at)
        if (*at == display) {
            watchedDisplays.erase(at);
            return;
        }
}

bool readProperty(Display* display, Window window, const char* name, std::string& value) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, window, property, 0, 1 << 16, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) != Success ||
        type == None) {
        return false;
    }
    if (format == 8)
        value.assign(reinterpret_cast<char*>(data), count);
    else if (format == 32 && count == 1)
        value = std::to_string(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
    return true;
}

// The dialog behind a mapped top-level window, when it is one of this process's message boxes.
bool readDialog(Display* display, Window window, SeenDialog& dialog) {
    std::string pid;
    if (!readProperty(display, window, "_NET_WM_PID", pid) || pid != std::to_string(getpid()) ||
        !readProperty(display, window, "_ZNVELMORA_MESSAGE_TEXT", dialog.text))
        return false;
    dialog.window = window;
    readProperty(display, window, "WM_NAME", dialog.caption);
    readProperty(display, window, "_NET_WM_NAME", dialog.netCaption);
    dialog.transientFor = None;
    XGetTransientForHint(display, window, &dialog.transientFor);
    XWindowAttributes attributes;
    Window child;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, attributes.root, 0, 0, &dialog.x, &dialog.y,
                               &child))
        return false;
    dialog.width = attributes.width;
    dialog.height = attributes.height;
    return true;
}

void watch(DialogWatcher::Answer& answer, Display* display, std::atomic<bool>& running,
           std::mutex& mutex, std::vector<SeenDialog>& seen) {
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    while (running) {
        if (!XPending(display)) {
            poll(&connection, 1, 20);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        SeenDialog dialog;
        if (event.type != MapNotify || !readDialog(display, event.xmap.window, dialog))
            continue;
        {
            std::lock_guard<std::mutex> lock(mutex);
            seen.push_back(dialog);
        }
        answer(display, dialog);
        XFlush(display);
    }
}

} // namespace

DialogWatcher::DialogWatcher(Answer answer) : state(new State) {
    state->answer = std::move(answer);
    state->display = XOpenDisplay(nullptr);
    if (!state->display)
        return;
    watchErrorsOf(state->display, true);
    // Selected before the thread starts, so no dialog mapped after construction is missed.
    XSelectInput(state->display, DefaultRootWindow(state->display), SubstructureNotifyMask);
    XSync(state->display, False);
    State* watching = state.get();
    state->thread = std::thread([watching] {
        watch(watching->answer, watching->display, watching->running, watching->mutex,
              watching->seen);
    });
}

DialogWatcher::~DialogWatcher() {
    stop();
}

bool DialogWatcher::connected() const {
    return state->display != nullptr;
}

std::vector<SeenDialog> DialogWatcher::stop() {
    if (state->thread.joinable()) {
        state->running = false;
        state->thread.join();
    }
    if (state->display) {
        XCloseDisplay(state->display);
        watchErrorsOf(state->display, false);
        state->display = nullptr;
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    return state->seen;
}

void DialogWatcher::pressReturn(Display* display, const SeenDialog& dialog) {
    pressKey(display, dialog.window, XK_Return);
}

void DialogWatcher::pressKey(Display* display, Window window, unsigned long keysym) {
    XKeyEvent key = {};
    key.type = KeyPress;
    key.display = display;
    key.window = window;
    key.root = DefaultRootWindow(display);
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = XKeysymToKeycode(display, keysym);
    XSendEvent(display, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
}

void DialogWatcher::clickOk(Display* display, const SeenDialog& dialog) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, dialog.window, &root, &parent, &children, &count) || count != 1)
        return;
    const Window button = children[0];
    XFree(children);
    for (int type : {ButtonPress, ButtonRelease}) {
        XButtonEvent click = {};
        click.type = type;
        click.display = display;
        click.window = button;
        click.root = root;
        click.button = Button1;
        click.x = click.y = 5;
        click.same_screen = True;
        const long mask = type == ButtonPress ? ButtonPressMask : ButtonReleaseMask;
        XSendEvent(display, button, False, mask, reinterpret_cast<XEvent*>(&click));
    }
}

void DialogWatcher::closeFromWindowManager(Display* display, const SeenDialog& dialog) {
    XClientMessageEvent close = {};
    close.type = ClientMessage;
    close.window = dialog.window;
    close.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.format = 32;
    close.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.data.l[1] = CurrentTime;
    XSendEvent(display, dialog.window, False, NoEventMask, reinterpret_cast<XEvent*>(&close));
}
