// Message box dialogs on a real X server, seen and answered by another client as a user would:
// what they show, where they appear, what dismisses them, and when there is no dialog at all.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "DialogWatcher.h"
#include "ScopedVariable.h"
#include "platform/x11/x11_platform.h"

namespace {

const char* const kText = "Could not get device context";
const char* const kCaption = "znVelmora Context Error";

class MessageDialog : public testing::Test {
  protected:
    // Held open for the whole suite: an X server without clients resets and refuses
    // connections for a moment, which would fail the next dialog.
    static void SetUpTestSuite() { display = XOpenDisplay(nullptr); }
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

} // namespace
