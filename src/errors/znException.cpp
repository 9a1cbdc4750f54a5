#include "znException.h"

#include "errors/failures.h"
#include "errors/report.h"
#include "platform/win32api.h"

namespace {

const char* const kUnknown = "Unknown internal error.";

const char* contextText(int code) {
    switch (code) {
    case 1:
        return "Could not get device context";
    case 2:
        return "Could not create the pixelformat.";
    case 3:
        return "Could not set the pixelformat.";
    case 4:
        return "Could not create the rendercontext.";
    case 5:
        return "Could not activate the rendercontext.";
    case 6:
        return "Could not destroy the rendercontext.";
    default:
        return kUnknown;
    }
}

const char* renderText(int code) {
    switch (code) {
    case 1:
        return "Could not swap render buffers";
    case 2:
        return "Error, while rendering the environment.";
    case 3:
        return "Error, while updating (sync) the environment.";
    default:
        return kUnknown;
    }
}

void showError(const char* text, const char* caption) {
    zn::report(caption, text, MB_ICONERROR | MB_OK);
}

} // namespace

znContextException::znContextException(int code) : code(code) {}
znContextException::~znContextException() {}

void znContextException::showErrorMessage() const {
    showError(contextText(code), "znVelmora Context Error");
}

znRenderException::znRenderException(int code) : code(code), seenOnce(false) {}
znRenderException::~znRenderException() {}

void znRenderException::showErrorMessage() {
    // A swap fails now and then (a window being resized or torn down); only a failure reported
    // twice on the same object is worth a box.
    if (code == 1 && !seenOnce) {
        seenOnce = true;
        return;
    }
    showError(renderText(code), "znVelmora Render Error");
}

template class znExceptionHolder<znContextException>;
template class znExceptionHolder<znRenderException>;

namespace zn {

void throwContextFailure(int code) {
    throw znExceptionHolder<znContextException>(znContextException(code));
}

void throwRenderFailure(int code) {
    throw znExceptionHolder<znRenderException>(znRenderException(code));
}

} // namespace zn
