// Message boxes and Sleep, which need no display.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/time.h>

#include "platform/x11/x11_platform.h"

TEST(MessageBox, IsOneLineOnStandardError) {
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
