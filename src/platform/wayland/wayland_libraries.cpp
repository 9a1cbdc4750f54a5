#include "platform/wayland/wayland_libraries.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <string>

#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

namespace {

std::atomic<const Libraries*> opened{nullptr};

// Binds each entry point of one library; false, said on standard error, when one is missing.
class Binder {
  public:
    explicit Binder(const char* file) : file(file), handle(dlopen(file, RTLD_NOW | RTLD_LOCAL)) {
        if (!handle)
            fail(dlerror());
    }
    template <class F> void operator()(F& entry, const char* name) {
        entry = handle ? reinterpret_cast<F>(dlsym(handle, name)) : nullptr;
        if (handle && !entry)
            fail(std::string("no ") + name);
    }
    bool ok() const { return complete; }

  private:
    void fail(const std::string& why) {
        if (complete)
            diagnose("znSetWaylandDisplay", std::string("cannot load ") + file + ": " + why);
        complete = false;
    }
    const char* file;
    void* handle;
    bool complete = true;
};

const Libraries* open() {
    static Libraries loaded;
    Binder egl("libEGL.so.1");
    egl(loaded.initialize, "eglInitialize");
    egl(loaded.getError, "eglGetError");
    egl(loaded.bindAPI, "eglBindAPI");
    egl(loaded.getConfigs, "eglGetConfigs");
    egl(loaded.getConfigAttrib, "eglGetConfigAttrib");
    egl(loaded.createContext, "eglCreateContext");
    egl(loaded.destroyContext, "eglDestroyContext");
    egl(loaded.createWindowSurface, "eglCreateWindowSurface");
    egl(loaded.destroySurface, "eglDestroySurface");
    egl(loaded.makeCurrent, "eglMakeCurrent");
    egl(loaded.getCurrentContext, "eglGetCurrentContext");
    egl(loaded.getCurrentDisplay, "eglGetCurrentDisplay");
    egl(loaded.swapBuffers, "eglSwapBuffers");
    egl(loaded.swapInterval, "eglSwapInterval");
    egl(loaded.getProcAddress, "eglGetProcAddress");
    egl(loaded.queryString, "eglQueryString");
    egl(loaded.getPlatformDisplay, "eglGetPlatformDisplay"); // EGL 1.5
    Binder native("libwayland-egl.so.1");
    native(loaded.createNativeWindow, "wl_egl_window_create");
    native(loaded.resizeNativeWindow, "wl_egl_window_resize");
    native(loaded.destroyNativeWindow, "wl_egl_window_destroy");
    Binder client("libwayland-client.so.0");
    client(loaded.displayError, "wl_display_get_error");
    client(loaded.proxyClass, "wl_proxy_get_class");
    return egl.ok() && native.ok() && client.ok() ? &loaded : nullptr;
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
