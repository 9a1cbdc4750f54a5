// Message boxes without a dialog, their wrapping, and Sleep, which need no display.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/time.h>

#include "ScopedVariable.h"
#include "platform/x11/dialog/dialog.h"
#include "platform/x11/x11_platform.h"

TEST(MessageBox, IsOneLineOnStandardError) {
    ScopedVariable linesOnly("ZNVELMORA_MESSAGEBOX", "stderr");
    testing::internal::CaptureStderr();
    EXPECT_EQ(
        MessageBoxA(nullptr, "wglSwapIntervalEXT not supported, VSYNC is on.\n", "Error", MB_OK),
        IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Could not get device context", "znVelmora Context Error",
                          MB_ICONERROR),
              IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: wglSwapIntervalEXT not supported, VSYNC is on.\n"
              "znVelmora Context Error: Could not get device context\n"
              "Error: \n");
}

// With no display to open, the box is its line alone and the call returns at once.
TEST(MessageBox, WithoutADisplayIsTheLineAlone) {
    ScopedVariable dialogs("ZNVELMORA_MESSAGEBOX", nullptr);
    ScopedVariable noDisplay("DISPLAY", nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Could not get device context", "znVelmora Context Error",
                          MB_ICONERROR),
              IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "znVelmora Context Error: Could not get device context\n");
}

// Ten pixels a character, so widths read as lengths.
std::vector<std::string> wrapped(const std::string& text, int maxCharacters) {
    return zn::x11::wrapMessage(text, maxCharacters * 10, [](const std::string& line) {
        return static_cast<int>(line.size()) * 10;
    });
}

using Lines = std::vector<std::string>;

TEST(MessageWrap, BreaksAtBlanksWithinTheWidth) {
    EXPECT_EQ(wrapped("Could not get device context", 12),
              (Lines{"Could not", "get device", "context"}));
    EXPECT_EQ(wrapped("Could not get device context", 28), (Lines{"Could not get device context"}));
    EXPECT_EQ(wrapped("one  two\tthree", 9), (Lines{"one  two", "three"}));
}

TEST(MessageWrap, KeepsTheTextsOwnLineBreaks) {
    EXPECT_EQ(wrapped("VSYNC is on.\n", 40), (Lines{"VSYNC is on."}));
    EXPECT_EQ(wrapped("first\r\n\nthird", 40), (Lines{"first", "", "third"}));
    EXPECT_EQ(wrapped("", 40), (Lines{""}));
}

TEST(MessageWrap, BreaksAWordWiderThanTheBoxBetweenCharacters) {
    EXPECT_EQ(wrapped("see wglSwapIntervalEXT", 8), (Lines{"see", "wglSwapI", "ntervalE", "XT"}));
    // Even a width below one character advances a character a line.
    EXPECT_EQ(wrapped("abc", 0), (Lines{"a", "b", "c"}));
}

TEST(Sleep, SleepsTheWholeTimeThroughSignals) {
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = [](int) {};
    ASSERT_EQ(sigaction(SIGALRM, &ignore, &previous), 0); // no SA_RESTART: nanosleep is cut
    itimerval every10ms = {{0, 10000}, {0, 10000}}, stopped = {};
    ASSERT_EQ(setitimer(ITIMER_REAL, &every10ms, nullptr), 0);

    LARGE_INTEGER frequency, before, after;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    Sleep(60);
    ASSERT_TRUE(QueryPerformanceCounter(&after));

    setitimer(ITIMER_REAL, &stopped, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
    EXPECT_GE((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart, 60);
}
