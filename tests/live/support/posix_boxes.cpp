// The library reports its boxes as "caption: text" lines on standard error; the watcher
// redirects that stream to a file while it lives.
#include <cstdio>
#include <unistd.h>

#include "BoxWatcher.h"

struct BoxWatcher::System {
    FILE* captured = nullptr;
    int savedError = -1;
};

BoxWatcher::BoxWatcher() : system(new System) {
    std::fflush(stderr);
    system->captured = std::tmpfile();
    system->savedError = dup(STDERR_FILENO);
    dup2(fileno(system->captured), STDERR_FILENO);
}

BoxWatcher::~BoxWatcher() {
    stop();
}

std::vector<std::string> BoxWatcher::stop() {
    std::vector<std::string> lines;
    if (!system->captured)
        return lines;
    std::fflush(stderr);
    dup2(system->savedError, STDERR_FILENO);
    close(system->savedError);
    std::rewind(system->captured);
    char line[1024];
    while (std::fgets(line, sizeof line, system->captured)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        lines.push_back(text);
    }
    std::fclose(system->captured);
    system->captured = nullptr;
    return lines;
}
