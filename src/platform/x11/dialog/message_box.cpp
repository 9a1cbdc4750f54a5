// Message boxes: a line "caption: text" on standard error for every box, then a modal dialog
// (dialog.h) when a display can be opened, unless ZNVELMORA_MESSAGEBOX=stderr asks for the line
// alone, say for a host that runs unattended and has no one to press OK.
#include <string>

#include "platform/report_line.h"
#include "platform/x11/dialog/dialog.h"
#include "platform/x11/x11_platform.h"

namespace {

// The dialog goes to the display the layer works on, the host's own when it handed one over,
// where the owner window lives; DISPLAY may name another. Without a display the box is the
// line alone, which is no failure to report.
void showDialog(HWND owner, const std::string& text, const std::string& caption, UINT style) {
    if (Display* layerDisplay = zn::x11::display(false))
        zn::x11::showMessageDialog(DisplayString(layerDisplay),
                                   static_cast<uint32_t>(zn::x11::windowOf(owner)), text, caption,
                                   style);
}

} // namespace

int zn::x11::GlxBackend::messageBox(HWND owner, const char* text, const char* caption, UINT style) {
    const std::string message = text ? text : "";
    // Windows captions a box without a caption "Error".
    const std::string title = caption ? caption : "Error";
    zn::platform::writeReportLine(title, message);
    if (!zn::platform::reportLinesOnly())
        showDialog(owner, message, title, style);
    return IDOK;
}
