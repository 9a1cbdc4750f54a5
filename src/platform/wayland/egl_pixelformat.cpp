// Pixel formats over the display's EGL configurations. A surface's format is kept with what the
// layer keeps of the surface, so every device context on it sees it.
#include <mutex>

#include "platform/pixel_format.h"
#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

namespace {

native::FormatTraits readTraits(const Display& display, EGLConfig config) {
    const Libraries& egl = *libraries();
    auto get = [&](EGLint name) {
        EGLint value = 0;
        egl.getConfigAttrib(display.egl, config, name, &value);
        return static_cast<int>(value);
    };
    native::FormatTraits traits = {};
    traits.visualMatch = 0; // Wayland has no visuals: any configuration draws into any surface
    traits.window =
        (get(EGL_SURFACE_TYPE) & EGL_WINDOW_BIT) && (get(EGL_RENDERABLE_TYPE) & EGL_OPENGL_BIT);
    traits.rgba = get(EGL_COLOR_BUFFER_TYPE) == EGL_RGB_BUFFER;
    traits.doubleBuffer = true; // window surfaces draw into a back buffer
    traits.mainPlane = get(EGL_LEVEL) == 0;
    traits.slow = get(EGL_CONFIG_CAVEAT) == EGL_SLOW_CONFIG;
    traits.colorBits = get(EGL_BUFFER_SIZE);
    traits.redBits = get(EGL_RED_SIZE);
    traits.greenBits = get(EGL_GREEN_SIZE);
    traits.blueBits = get(EGL_BLUE_SIZE);
    traits.alphaBits = get(EGL_ALPHA_SIZE);
    // Wayland's pixels are little-endian [A]RGB words: blue lowest, alpha highest.
    traits.greenShift = traits.blueBits;
    traits.redShift = traits.greenShift + traits.greenBits;
    if (traits.alphaBits > 0)
        traits.alphaShift = traits.redShift + traits.redBits;
    traits.depthBits = get(EGL_DEPTH_SIZE);
    traits.stencilBits = get(EGL_STENCIL_SIZE);
    traits.samples = get(EGL_SAMPLES);
    return traits;
}

} // namespace

int WaylandBackend::chooseFormat(native::Window& window, const PIXELFORMATDESCRIPTOR& request) {
    const WaylandWindow& on = target(window);
    // The screen takes no pixel format.
    if (!on.surface)
        return 0;
    std::vector<native::FormatTraits> formats;
    for (EGLConfig config : on.display->configs)
        formats.push_back(readTraits(*on.display, config));
    const int chosen = native::chooseFormat(formats, request);
    if (!chosen)
        wayland::diagnose("ChoosePixelFormat", "no EGL configuration serves the request");
    return chosen;
}

int WaylandBackend::describeFormat(native::Window& window, int format, PIXELFORMATDESCRIPTOR* out) {
    const Display& display = *target(window).display;
    const int count = static_cast<int>(display.configs.size());
    if (!out)
        return count;
    EGLConfig config = configOf(display, format);
    if (!config)
        return 0;
    *out = native::describeFormat(readTraits(display, config), false);
    return count;
}

bool WaylandBackend::drawsToWindow(native::Window& window, int format) {
    const Display& display = *target(window).display;
    EGLConfig config = configOf(display, format);
    return config && readTraits(display, config).window;
}

int WaylandBackend::windowFormat(native::Window& window) {
    Surface* surface = target(window).surface.get();
    if (!surface)
        return 0;
    std::lock_guard<decltype(surface->mutex)> lock(surface->mutex);
    return surface->format;
}

bool WaylandBackend::storeWindowFormat(native::Window& window, int format) {
    Surface* surface = target(window).surface.get();
    if (!surface)
        return false;
    std::lock_guard<decltype(surface->mutex)> lock(surface->mutex);
    surface->format = format;
    return true;
}

EGLConfig configOf(const Display& display, int format) {
    return format >= 1 && format <= int(display.configs.size()) ? display.configs[format - 1]
                                                                : nullptr;
}

} // namespace zn::wayland
