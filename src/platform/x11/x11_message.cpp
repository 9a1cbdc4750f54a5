// Message boxes as one line on standard error: no dialog blocks a host that may have no one to
// press OK.
#include <cstdio>
#include <string>

#include "platform/x11/x11_platform.h"

int MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*style*/) {
    std::string line = text ? text : "";
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    // Windows captions a box without a caption "Error".
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "Error", line.c_str());
    std::fflush(stderr);
    return IDOK;
}
