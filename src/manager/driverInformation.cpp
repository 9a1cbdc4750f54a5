#include "znVelmora.h"

#include "manager/managerState.h"

#include "platform/win32api.h"

namespace {

const char* const kNoInformation = "no-information-available";

// Driver kinds: 0 generic software implementation, 1 mini-client driver, 2 installable client.
int driverKind(DWORD flags) {
    switch (flags & (PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED)) {
    case 0:
        return 2;
    case PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED:
        return 1;
    default:
        return 0;
    }
}

// Every single blank separates two names, so adjacent blanks and a trailing blank yield empty
// names, and the text after the last blank is always a name of its own.
std::vector<std::string> splitAtBlanks(const std::string& text) {
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    for (std::string::size_type blank; (blank = text.find(' ', start)) != std::string::npos;
         start = blank + 1)
        pieces.push_back(text.substr(start, blank - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

} // namespace

const char* znVelmora::getString(GLenum name) {
    const char* text = reinterpret_cast<const char*>(glGetString(name));
    if (glGetError() != GL_NO_ERROR || !text)
        return kNoInformation;
    return text;
}

void znVelmora::driverInformation() {
    // A format that cannot be described claims nothing: it counts as a generic implementation.
    PIXELFORMATDESCRIPTOR pfd = {};
    const int described =
        DescribePixelFormat(state->renderContext->getDC(), state->renderContext->getPixelFormat(),
                            sizeof(PIXELFORMATDESCRIPTOR), &pfd);
    state->glDriver = described ? driverKind(pfd.dwFlags) : 0;

    state->glVendor = getString(GL_VENDOR);
    state->glRenderer = getString(GL_RENDERER);
    state->glVersion = getString(GL_VERSION);
    state->glExtensions = splitAtBlanks(getString(GL_EXTENSIONS));
}
