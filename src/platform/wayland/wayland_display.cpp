// The host's display: chosen by znSetWaylandDisplay, EGL initialised on it on first need, and
// watched for a failed compositor connection. Also the back-end's reports.
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/report_line.h"
#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

namespace {

// EGL on the host's display, with the configurations that draw OpenGL into windows; null,
// said on standard error, when EGL refuses the display.
std::shared_ptr<const Display> initialise(const Libraries& egl, wl_display* host) {
    auto made = std::make_shared<Display>();
    made->host = host;
    made->egl = egl.getPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, host, nullptr);
    EGLint major = 0, minor = 0;
    if (made->egl == EGL_NO_DISPLAY || !egl.initialize(made->egl, &major, &minor)) {
        diagnose("GetDC", "eglInitialize: " + eglErrorName(egl.getError()));
        return nullptr;
    }
    EGLint count = 0;
    egl.getConfigs(made->egl, nullptr, 0, &count);
    made->configs.resize(count > 0 ? count : 0);
    egl.getConfigs(made->egl, made->configs.data(), count, &count);
    made->configs.resize(count > 0 ? count : 0);
    return made;
}

} // namespace

void diagnose(const char* call, const std::string& why) {
    std::fprintf(stderr, "%s%s: %s\n", kDiagnosticPrefix, call, why.c_str());
    std::fflush(stderr);
}

std::string eglErrorName(EGLint error) {
    static const std::pair<EGLint, const char*> names[] = {
        {EGL_SUCCESS, "EGL_SUCCESS"},
        {EGL_NOT_INITIALIZED, "EGL_NOT_INITIALIZED"},
        {EGL_BAD_ACCESS, "EGL_BAD_ACCESS"},
        {EGL_BAD_ALLOC, "EGL_BAD_ALLOC"},
        {EGL_BAD_ATTRIBUTE, "EGL_BAD_ATTRIBUTE"},
        {EGL_BAD_CONFIG, "EGL_BAD_CONFIG"},
        {EGL_BAD_CONTEXT, "EGL_BAD_CONTEXT"},
        {EGL_BAD_CURRENT_SURFACE, "EGL_BAD_CURRENT_SURFACE"},
        {EGL_BAD_DISPLAY, "EGL_BAD_DISPLAY"},
        {EGL_BAD_MATCH, "EGL_BAD_MATCH"},
        {EGL_BAD_NATIVE_PIXMAP, "EGL_BAD_NATIVE_PIXMAP"},
        {EGL_BAD_NATIVE_WINDOW, "EGL_BAD_NATIVE_WINDOW"},
        {EGL_BAD_PARAMETER, "EGL_BAD_PARAMETER"},
        {EGL_BAD_SURFACE, "EGL_BAD_SURFACE"},
        {EGL_CONTEXT_LOST, "EGL_CONTEXT_LOST"},
    };
    for (const auto& [code, name] : names)
        if (code == error)
            return name;
    char unknown[32];
    std::snprintf(unknown, sizeof unknown, "EGL error 0x%04x", static_cast<unsigned>(error));
    return unknown;
}

WaylandBackend& backend() {
    // Never destroyed: other threads may still be inside the layer while the process exits.
    static WaylandBackend* const made = new WaylandBackend();
    return *made;
}

bool chosen() {
    return backend().chosen != nullptr;
}

std::shared_ptr<const Display> WaylandBackend::display(const char* call) {
    const Libraries* egl = libraries();
    if (!egl)
        return nullptr;
    std::shared_ptr<const Display> found;
    {
        std::lock_guard<decltype(mutex)> lock(mutex);
        wl_display* const host = chosen;
        if (!host) {
            diagnose(call, "no Wayland display was handed over");
            return nullptr;
        }
        if (!current || current->host != host)
            current = initialise(*egl, host);
        found = current;
    }
    if (found && connectionFailed(*found, call))
        return nullptr;
    return found;
}

bool WaylandBackend::connectionFailed(const Display& display, const char* call) {
    const int error = libraries()->displayError(display.host);
    if (error == 0)
        return false;
    diagnose(call, "the compositor connection failed (" + std::string(std::strerror(error)) + ")");
    return true;
}

int WaylandBackend::messageBox(HWND, const char* text, const char* caption, UINT) {
    zn::platform::writeReportLine(caption ? caption : "", text ? text : "");
    return IDOK;
}

void WaylandBackend::diagnose(const char* call, const std::string& why) {
    wayland::diagnose(call, why);
}

} // namespace zn::wayland

void znSetWaylandDisplay(wl_display* display) {
    using namespace zn::wayland;
    // The libraries are loaded here, once a host asks for Wayland, and not before.
    if (display && !libraries())
        return;
    backend().chosen = display;
}

void znSetWaylandWindowSize(HWND window, int width, int height) {
    if (window && width > 0 && height > 0)
        zn::wayland::backend().sizeWindow(window, width, height);
}
