#include "platform/report_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zn::platform {

bool reportLinesOnly() {
    const char* choice = std::getenv("ZNVELMORA_MESSAGEBOX");
    return choice && std::strcmp(choice, "stderr") == 0;
}

void writeReportLine(const std::string& caption, const std::string& text) {
    std::string line = text;
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), line.c_str());
    std::fflush(stderr);
}

} // namespace zn::platform
