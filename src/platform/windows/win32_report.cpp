// Windows answers every call of the library itself, except that a report's box becomes a line on
// standard error when ZNVELMORA_MESSAGEBOX=stderr, as on X11: MessageBoxA would block a host that
// runs unattended until someone presses OK.
#include "platform/report_line.h"
#include "platform/win32api.h"

namespace zn {

int reportBox(LPCSTR text, LPCSTR caption, UINT style) {
    if (!platform::reportLinesOnly())
        return MessageBoxA(nullptr, text, caption, style);
    platform::writeReportLine(caption ? caption : "Error", text ? text : "");
    return IDOK;
}

} // namespace zn
