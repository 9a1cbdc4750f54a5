// Message boxes as modal X11 dialogs drawn with the core protocol alone: the caption in the
// title, the text wrapped in a core font, an optional icon and one OK button. Enter, Space, Esc,
// a click on OK or the window manager's close button dismiss it; so do its window being
// destroyed, its connection being lost, and no window manager mapping it in time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32api.h"

namespace zn::x11 {

// The property on a dialog that holds its text as given (Latin-1, type STRING), so that tools
// and tests can read what the box says.
inline constexpr const char* kMessageTextProperty = "_ZNVELMORA_MESSAGE_TEXT";

// Shows the dialog on a connection of its own to the named display and returns once it is
// dismissed; false, at once, when the display cannot be opened. A non-zero owner is the X
// window the dialog is centred on and kept above.
bool showMessageDialog(const std::string& displayName, std::uint32_t owner, const std::string& text,
                       const std::string& caption, UINT style);

// The lines a dialog shows: the text split at its line breaks, each paragraph wrapped at blanks
// to fit maxWidth as measured by width, and a word wider than that broken between characters.
std::vector<std::string> wrapMessage(const std::string& text, int maxWidth,
                                     const std::function<int(const std::string&)>& width);

} // namespace zn::x11
