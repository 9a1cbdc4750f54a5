// A display that cannot be opened: every call that needs it fails, and the one line on standard
// error names the display.
#include <gtest/gtest.h>

#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/x11/x11_platform.h"

namespace {

// Runs the calls in a child process, where the layer has opened no connection yet, and answers
// what the child wrote on standard error; the child's exit status says whether each call failed.
std::string stderrOfChild(int& status) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "";
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDERR_FILENO);
        setenv("DISPLAY", ":4321", 1);
        const bool failed =
            GetDC(nullptr) == nullptr && GetDC(nullptr) == nullptr &&
            CreateFontA(12, 0, 0, 0, 400, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial") == nullptr;
        _exit(failed ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    waitpid(child, &status, 0);
    return text;
}

} // namespace

TEST(Display, OneThatCannotBeOpenedIsNamedOnce) {
    int status = -1;
    const std::string text = stderrOfChild(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a call succeeded without a display";
    EXPECT_EQ(text, std::string(zn::x11::kDiagnosticPrefix) +
                        "XOpenDisplay: cannot open display \":4321\" (is DISPLAY set?)\n");
}
