// The line that stands for a message box on standard error, "caption: text", shared by the
// platforms that write one: X11 beside every dialog, and both X11 and Windows instead of the box
// when ZNVELMORA_MESSAGEBOX=stderr asks for it (a host that runs unattended, with no one to
// press OK).
#pragma once

#include <string>

namespace zn::platform {

// True when ZNVELMORA_MESSAGEBOX is "stderr".
bool reportLinesOnly();
// Writes "caption: text" and a line feed, a final line feed of the text dropped, and flushes.
void writeReportLine(const std::string& caption, const std::string& text);

} // namespace zn::platform
