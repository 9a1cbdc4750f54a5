#include "platform/entry_points.h"

#include <cstring>

#include "context/glEntryPoints.h"
#include "platform/pixel_format.h"

namespace zn::native {

PROC advertisedEntryPoint(const char* name, PROC (*lookup)(const char* name)) {
    for (const zn::GLEntryPoint& entry : zn::kGLEntryPoints) {
        if (std::strcmp(name, entry.name) != 0)
            continue;
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        return hasExtension(extensions, entry.extension) ? lookup(name) : nullptr;
    }
    return nullptr;
}

} // namespace zn::native
