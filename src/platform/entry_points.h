// The extension entry points the library looks up, answered the way Windows' drivers answer:
// only where the current context advertises the extension.
#pragma once

#include "platform/win32api.h"

namespace zn::native {

// The entry point from `lookup` when it is one the library looks up (context/glEntryPoints.h)
// and the current context's GL_EXTENSIONS names its extension, else null. GLX and EGL answer
// any name, advertised or not.
PROC advertisedEntryPoint(const char* name, PROC (*lookup)(const char* name));

} // namespace zn::native
