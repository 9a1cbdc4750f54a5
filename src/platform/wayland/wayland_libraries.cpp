#include "platform/wayland/wayland_libraries.h"

#include <atomic>
#include <mutex>
#include <string>

#include "platform/shared_library.h"
#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

namespace {

std::atomic<const Libraries*> opened{nullptr};

// Binds the entry points of libEGL, libwayland-egl and libwayland-client; null, said on
// standard error, when one of them or an entry point is missing.
const Libraries* open() {
    static Libraries loaded;
    platform::SharedLibrary egl("libEGL.so.1");
    egl.bind(loaded.initialize, "eglInitialize");
    egl.bind(loaded.getError, "eglGetError");
    egl.bind(loaded.bindAPI, "eglBindAPI");
    egl.bind(loaded.getConfigs, "eglGetConfigs");
    egl.bind(loaded.getConfigAttrib, "eglGetConfigAttrib");
    egl.bind(loaded.createContext, "eglCreateContext");
    egl.bind(loaded.destroyContext, "eglDestroyContext");
    egl.bind(loaded.createWindowSurface, "eglCreateWindowSurface");
    egl.bind(loaded.destroySurface, "eglDestroySurface");
    egl.bind(loaded.makeCurrent, "eglMakeCurrent");
    egl.bind(loaded.getCurrentContext, "eglGetCurrentContext");
    egl.bind(loaded.getCurrentDisplay, "eglGetCurrentDisplay");
    egl.bind(loaded.swapBuffers, "eglSwapBuffers");
    egl.bind(loaded.swapInterval, "eglSwapInterval");
    egl.bind(loaded.getProcAddress, "eglGetProcAddress");
    egl.bind(loaded.getPlatformDisplay, "eglGetPlatformDisplay"); // EGL 1.5
    platform::SharedLibrary native("libwayland-egl.so.1");
    native.bind(loaded.createNativeWindow, "wl_egl_window_create");
    native.bind(loaded.resizeNativeWindow, "wl_egl_window_resize");
    native.bind(loaded.destroyNativeWindow, "wl_egl_window_destroy");
    platform::SharedLibrary client("libwayland-client.so.0");
    client.bind(loaded.displayError, "wl_display_get_error");
    client.bind(loaded.proxyClass, "wl_proxy_get_class");
    for (const platform::SharedLibrary* library : {&egl, &native, &client})
        if (!library->why().empty()) {
            diagnose("znSetWaylandDisplay", "cannot load " + library->why());
            return nullptr;
        }
    return &loaded;
}

} // namespace

const Libraries* libraries() {
    static std::once_flag once;
    std::call_once(once, [] { opened = open(); });
    return opened;
}

const Libraries* librariesOpened() {
    return opened;
}

} // namespace zn::wayland
