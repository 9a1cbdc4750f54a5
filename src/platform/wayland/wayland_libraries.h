// libEGL, libwayland-egl and libwayland-client, opened with dlopen when a host first asks for
// Wayland, so that a system that runs X11 hosts only needs none of them.
#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-client-core.h>
#include <wayland-egl-core.h>

namespace zn::wayland {

// The entry points the back-end calls, each from the library that holds it.
struct Libraries {
    PFNEGLGETPLATFORMDISPLAYPROC getPlatformDisplay;
    decltype(&eglInitialize) initialize;
    decltype(&eglGetError) getError;
    decltype(&eglBindAPI) bindAPI;
    decltype(&eglGetConfigs) getConfigs;
    decltype(&eglGetConfigAttrib) getConfigAttrib;
    decltype(&eglCreateContext) createContext;
    decltype(&eglDestroyContext) destroyContext;
    decltype(&eglCreateWindowSurface) createWindowSurface;
    decltype(&eglDestroySurface) destroySurface;
    decltype(&eglMakeCurrent) makeCurrent;
    decltype(&eglGetCurrentContext) getCurrentContext;
    decltype(&eglGetCurrentDisplay) getCurrentDisplay;
    decltype(&eglSwapBuffers) swapBuffers;
    decltype(&eglSwapInterval) swapInterval;
    decltype(&eglGetProcAddress) getProcAddress;

    decltype(&wl_egl_window_create) createNativeWindow;
    decltype(&wl_egl_window_resize) resizeNativeWindow;
    decltype(&wl_egl_window_destroy) destroyNativeWindow;

    decltype(&wl_display_get_error) displayError;
    decltype(&wl_proxy_get_class) proxyClass;
};

// The libraries, opened on the first call; null when one of them or an entry point is missing,
// which that first call says on standard error.
const Libraries* libraries();
// The libraries when a call opened them already, else null; opens nothing.
const Libraries* librariesOpened();

} // namespace zn::wayland
