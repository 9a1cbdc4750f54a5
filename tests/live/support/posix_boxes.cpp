// The library reports each box as a "caption: text" line on standard error, which the watcher
// captures while it lives. Where the library also shows dialogs (a display, and
// ZNVELMORA_MESSAGEBOX not set to "stderr"), a watcher on its own connection reads each dialog
// of this process and presses OK; the boxes are then the dialogs, each with its line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "BoxWatcher.h"
#include "DialogWatcher.h"

struct BoxWatcher::System {
    FILE* captured = nullptr;
    int savedError = -1;
    std::unique_ptr<DialogWatcher> dialogs;
};

namespace {

bool dialogsShown() {
    const char* choice = std::getenv("ZNVELMORA_MESSAGEBOX");
    return !choice || std::strcmp(choice, "stderr") != 0;
}

// The layer's own line saying why a platform call failed is no box.
bool isDiagnostic(const std::string& line) {
    return line.rfind("znVelmora x11: ", 0) == 0 || line.rfind("znVelmora wayland: ", 0) == 0;
}

std::vector<std::string> readLines(FILE* file) {
    std::vector<std::string> lines;
    std::rewind(file);
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        if (!isDiagnostic(text))
            lines.push_back(text);
    }
    return lines;
}

std::string boxOf(const SeenDialog& dialog) {
    std::string text = dialog.text;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return dialog.caption + ": " + text;
}

} // namespace

BoxWatcher::BoxWatcher() : system(new System) {
    std::fflush(stderr);
    system->captured = std::tmpfile();
    system->savedError = dup(STDERR_FILENO);
    dup2(fileno(system->captured), STDERR_FILENO);
    if (dialogsShown()) {
        system->dialogs.reset(new DialogWatcher);
        if (!system->dialogs->connected())
            system->dialogs.reset();
    }
}

BoxWatcher::~BoxWatcher() {
    stop();
}

std::vector<std::string> BoxWatcher::stop() {
    if (!system->captured)
        return {};
    std::fflush(stderr);
    dup2(system->savedError, STDERR_FILENO);
    close(system->savedError);
    const std::vector<std::string> lines = readLines(system->captured);
    std::fclose(system->captured);
    system->captured = nullptr;
    if (!system->dialogs)
        return lines;
    std::vector<std::string> boxes;
    for (const SeenDialog& dialog : system->dialogs->stop())
        boxes.push_back(boxOf(dialog));
    system->dialogs.reset();
    EXPECT_EQ(boxes, lines) << "each dialog writes its line on standard error";
    return boxes;
}
