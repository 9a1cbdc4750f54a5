// Message box dialogs on a real X server, seen and answered by another client as a user would:
// what they show, where they appear, what dismisses them, when there is no dialog at all, and
// what other clients may do to them (destroy, kill, never map) without harming the host.
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <future>
#include <pthread.h>
#include <thread>

#include "DialogWatcher.h"
#include "ScopedVariable.h"
#include "platform/x11/x11_platform.h"

namespace {

const char* const kText = "Could not get device context";
const char* const kCaption = "znVelmora Context Error";

class MessageDialog : public testing::Test {
  protected:
    // Held open for the whole program (both suites share it): an X server without clients
    // resets and refuses connections for a moment, which would fail the next dialog.
    static void SetUpTestSuite() {
        if (!display)
            display = XOpenDisplay(nullptr);
    }
    void SetUp() override {
        if (!display)
            GTEST_SKIP() << "no X display";
    }

    // A mapped window away from the screen's centre, as a host's main window.
    static Window ownerWindow(int x, int y, int width, int height) {
        XSetWindowAttributes attributes = {};
        attributes.override_redirect = True;
        const Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, width,
                                            height, 0, CopyFromParent, InputOutput, CopyFromParent,
                                            CWOverrideRedirect, &attributes);
        XMapWindow(display, window);
        XSync(display, False);
        return window;
    }

    static int screenWidth() { return DisplayWidth(display, DefaultScreen(display)); }
    static int screenHeight() { return DisplayHeight(display, DefaultScreen(display)); }

    static Display* display;
    ScopedVariable dialogs{"ZNVELMORA_MESSAGEBOX", nullptr};
};

Display* MessageDialog::display = nullptr;

HWND handleOf(Window window) {
    return reinterpret_cast<HWND>(uintptr_t(window));
}

// A box shown on a thread of its own, so that a box that never returns fails its test after a
// bounded wait instead of hanging it (it is then left blocked on that thread).
std::future<int> showBox(const char* text, std::atomic<pthread_t>* thread = nullptr) {
    std::packaged_task<int()> box([text, thread] {
        if (thread)
            *thread = pthread_self();
        return MessageBoxA(nullptr, text, "Error", MB_OK);
    });
    std::future<int> result = box.get_future();
    std::thread(std::move(box)).detach();
    return result;
}

bool returnsDismissed(std::future<int>& box) {
    return box.wait_for(std::chrono::seconds(20)) == std::future_status::ready && box.get() == IDOK;
}

void expectCentredOn(const SeenDialog& dialog, int x, int y, int width, int height) {
    EXPECT_NEAR(dialog.x + dialog.width / 2, x + width / 2, 1);
    EXPECT_NEAR(dialog.y + dialog.height / 2, y + height / 2, 1);
}

TEST_F(MessageDialog, ShowsCaptionAndTextWritesTheLineAndReturnsOnEnter) {
    DialogWatcher watcher;
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, kText, kCaption, MB_ICONERROR | MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(kCaption) + ": " + kText + "\n");
    const std::vector<SeenDialog> seen = watcher.stop();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, kCaption);
    EXPECT_EQ(seen[0].netCaption, kCaption);
    EXPECT_EQ(seen[0].text, kText);
    EXPECT_EQ(seen[0].transientFor, Window(None));
    expectCentredOn(seen[0], 0, 0, screenWidth(), screenHeight());
}

TEST_F(MessageDialog, TitleIsUtf8ForWindowManagersAndTheCaptionDefaultsToError) {
    DialogWatcher watcher;
    MessageBoxA(nullptr, "caf\xe9", "Fehler \xe4", MB_OK);
    MessageBoxA(nullptr, nullptr, nullptr, MB_ICONWARNING);
    const std::vector<SeenDialog> seen = watcher.stop();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "Fehler \xe4");
    EXPECT_EQ(seen[0].netCaption, "Fehler \xc3\xa4");
    EXPECT_EQ(seen[0].text, "caf\xe9");
    EXPECT_EQ(seen[1].caption, "Error");
    EXPECT_EQ(seen[1].text, "");
}

TEST_F(MessageDialog, CentresOnItsOwnerAndStaysWithIt) {
    const Window owner = ownerWindow(560, 420, 400, 300);
    DialogWatcher watcher;
    EXPECT_EQ(MessageBoxA(handleOf(owner), kText, kCaption, MB_ICONERROR), IDOK);
    // An owner that no longer exists leaves the box centred on the screen.
    const Window gone = ownerWindow(0, 0, 50, 50);
    XDestroyWindow(display, gone);
    XSync(display, False);
    EXPECT_EQ(MessageBoxA(handleOf(gone), kText, kCaption, MB_ICONERROR), IDOK);
    const std::vector<SeenDialog> seen = watcher.stop();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].transientFor, owner);
    expectCentredOn(seen[0], 560, 420, 400, 300);
    expectCentredOn(seen[1], 0, 0, screenWidth(), screenHeight());
    XDestroyWindow(display, owner);
}

// Once shown, the dialog draws its icon (red for an error) and its text (black) on its face.
TEST_F(MessageDialog, DrawsItsIconAndText) {
    bool drawn = false;
    DialogWatcher watcher([&drawn](Display* display, const SeenDialog& dialog) {
        for (int tries = 0; tries < 500 && !drawn; ++tries) {
            XImage* image = XGetImage(display, dialog.window, 0, 0, dialog.width, dialog.height,
                                      AllPlanes, ZPixmap);
            bool red = false, black = false;
            for (int y = 0; image && y < dialog.height; ++y)
                for (int x = 0; x < dialog.width; ++x) {
                    const unsigned long pixel = XGetPixel(image, x, y) & 0xFFFFFF;
                    red |= pixel == 0xD83B2B;
                    black |= pixel == 0;
                }
            if (image)
                XDestroyImage(image);
            drawn = red && black;
            if (!drawn)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        DialogWatcher::pressReturn(display, dialog);
    });
    EXPECT_EQ(MessageBoxA(nullptr, kText, kCaption, MB_ICONERROR), IDOK);
    EXPECT_EQ(watcher.stop().size(), 1u);
    EXPECT_TRUE(drawn);
}

// A host that hands the library its connection gets its dialogs there, whatever DISPLAY says.
TEST_F(MessageDialog, AppearsOnTheHostsDisplay) {
    DialogWatcher watcher;
    znSetX11Display(display);
    {
        ScopedVariable elsewhere("DISPLAY", ":9999");
        EXPECT_EQ(MessageBoxA(nullptr, kText, kCaption, MB_ICONERROR), IDOK);
    }
    znSetX11Display(nullptr);
    const std::vector<SeenDialog> seen = watcher.stop();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, kText);
}

TEST_F(MessageDialog, EscapeAClickOnOkAndTheWindowManagersCloseDismissIt) {
    int answered = 0;
    DialogWatcher watcher([&answered](Display* display, const SeenDialog& dialog) {
        switch (answered++) {
        case 0:
            DialogWatcher::pressKey(display, dialog.window, XK_Escape);
            break;
        case 1:
            DialogWatcher::clickOk(display, dialog);
            break;
        default:
            DialogWatcher::closeFromWindowManager(display, dialog);
        }
    });
    for (const char* text : {"escape", "click", "close"})
        EXPECT_EQ(MessageBoxA(nullptr, text, "Error", MB_OK), IDOK);
    const std::vector<SeenDialog> seen = watcher.stop();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].text, "close");
}

TEST_F(MessageDialog, WrapsLongTextIntoATallerBoxOfBoundedWidth) {
    std::string longText;
    for (int i = 0; i < 40; ++i)
        longText += "wglSwapIntervalEXT not supported, ";
    longText += "VSYNC is on.\n";
    DialogWatcher watcher;
    MessageBoxA(nullptr, "short", "Error", MB_OK);
    MessageBoxA(nullptr, longText.c_str(), "Error", MB_OK);
    const std::vector<SeenDialog> seen = watcher.stop();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, longText); // the property keeps the text as given
    EXPECT_LE(seen[1].width, 500);
    EXPECT_GT(seen[1].width, seen[0].width);
    EXPECT_GT(seen[1].height, seen[0].height + 5 * 12);
}

TEST_F(MessageDialog, TheStderrChoiceWritesTheLineWithoutADialog) {
    ScopedVariable linesOnly("ZNVELMORA_MESSAGEBOX", "stderr");
    DialogWatcher watcher; // answers a dialog should one appear, so a fault fails, not hangs
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, kText, kCaption, MB_ICONERROR), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(kCaption) + ": " + kText + "\n");
    XSync(display, False);
    EXPECT_TRUE(watcher.stop().empty());
}

// Boxes on two threads are open at the same time, each on its own connection.
TEST_F(MessageDialog, BoxesOnTwoThreadsAtOnceEachReturn) {
    std::vector<SeenDialog> open;
    DialogWatcher watcher([&open](Display* display, const SeenDialog& dialog) {
        open.push_back(dialog);
        if (open.size() == 2)
            for (const SeenDialog& each : open)
                DialogWatcher::pressReturn(display, each);
    });
    std::future<int> first = showBox("first"), second = showBox("second");
    EXPECT_TRUE(returnsDismissed(first));
    EXPECT_TRUE(returnsDismissed(second));
    EXPECT_EQ(watcher.stop().size(), 2u);
}

// A host's own Xlib handlers, installed for the life of this object (after any watcher's): a
// dialog must neither replace nor call them.
class HostHandlers {
  public:
    HostHandlers()
        : previousError(XSetErrorHandler(countError)),
          previousIOError(XSetIOErrorHandler(countIOError)) {
        errors = ioErrors = 0;
    }
    ~HostHandlers() {
        EXPECT_EQ(XSetErrorHandler(previousError), countError);
        EXPECT_EQ(XSetIOErrorHandler(previousIOError), countIOError);
        EXPECT_EQ(errors, 0);
        EXPECT_EQ(ioErrors, 0);
    }
    HostHandlers(const HostHandlers&) = delete;
    HostHandlers& operator=(const HostHandlers&) = delete;

  private:
    static int countError(Display*, XErrorEvent*) { return ++errors, 0; }
    static int countIOError(Display*) { return ++ioErrors, 0; }

    static std::atomic<int> errors, ioErrors;
    XErrorHandler previousError;
    XIOErrorHandler previousIOError;
};

std::atomic<int> HostHandlers::errors, HostHandlers::ioErrors;

// A box whose window is destroyed, whose connection is killed or that is never mapped ends as
// dismissed, and the host goes on.
using DialogFault = MessageDialog;

TEST_F(DialogFault, DestroyedByAnotherClient) {
    DialogWatcher watcher(
        [](Display* display, const SeenDialog& dialog) { XDestroyWindow(display, dialog.window); });
    HostHandlers host;
    std::future<int> box = showBox("destroyed");
    EXPECT_TRUE(returnsDismissed(box));
    EXPECT_EQ(watcher.stop().size(), 1u);
}

// As xkill or a window manager's force-quit does, here just after a key press that does not
// dismiss the box, which the dialog then looks up on a connection already gone; with the
// SIGPIPE that writing on a dead connection can raise on the box's thread.
TEST_F(DialogFault, ConnectionKilled) {
    std::atomic<pthread_t> boxThread{};
    DialogWatcher watcher([&boxThread](Display* display, const SeenDialog& dialog) {
        DialogWatcher::pressKey(display, dialog.window, XK_a);
        XKillClient(display, dialog.window);
        pthread_kill(boxThread, SIGPIPE);
    });
    HostHandlers host;
    std::future<int> box = showBox("killed", &boxThread);
    EXPECT_TRUE(returnsDismissed(box));
    EXPECT_EQ(watcher.stop().size(), 1u);
}

// A window manager that never grants the dialog's map request.
TEST_F(DialogFault, NeverMapped) {
    HostHandlers host;
    Display* manager = XOpenDisplay(nullptr);
    ASSERT_TRUE(manager);
    XSelectInput(manager, DefaultRootWindow(manager), SubstructureRedirectMask);
    XSync(manager, False);
    std::future<int> box = showBox("never mapped");
    EXPECT_TRUE(returnsDismissed(box));
    XEvent request;
    EXPECT_TRUE(XCheckTypedEvent(manager, MapRequest, &request)) << "the dialog asked to be mapped";
    XCloseDisplay(manager);
}

} // namespace
