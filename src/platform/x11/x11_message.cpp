// Message boxes: a line "caption: text" on standard error for every box, then a modal dialog
// (x11_messagebox.cpp) when a display can be opened, unless ZNVELMORA_MESSAGEBOX=stderr asks
// for the line alone, say for a host that runs unattended and has no one to press OK.
#include <string>

#include "platform/report_line.h"
#include "platform/x11/x11_messagebox.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    const std::string message = text ? text : "";
    // Windows captions a box without a caption "Error".
    const std::string title = caption ? caption : "Error";
    zn::platform::writeReportLine(title, message);
    if (!zn::platform::reportLinesOnly())
        zn::x11::showMessageDialog(owner, message, title, style);
    return IDOK;
}
