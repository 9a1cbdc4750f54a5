// wglGetProcAddress for the extension entry points the library looks up, and wglSwapIntervalEXT
// over eglSwapInterval.
#include <cstring>

#include "context/glEntryPoints.h"
#include "platform/entry_points.h"
#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

namespace {

BOOL swapIntervalEXT(int interval) {
    const Libraries& egl = *libraries();
    const EGLDisplay display = egl.getCurrentDisplay();
    // EGL has no adaptive sync, which a negative interval asks for.
    if (display == EGL_NO_DISPLAY || interval < 0)
        return FALSE;
    return egl.swapInterval(display, interval) ? TRUE : FALSE;
}

PROC eglEntryPoint(const char* name) {
    return libraries()->getProcAddress(name);
}

} // namespace

PROC WaylandBackend::procAddress(const char* name) {
    if (std::strcmp(name, zn::kGLEntryPoints[zn::SwapInterval].name) == 0)
        return reinterpret_cast<PROC>(&swapIntervalEXT);
    return native::advertisedEntryPoint(name, &eglEntryPoint);
}

} // namespace zn::wayland
