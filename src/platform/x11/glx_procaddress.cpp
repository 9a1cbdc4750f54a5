// wglGetProcAddress for the extension entry points the library looks up, and wglSwapIntervalEXT
// over the GLX swap-control extensions.
#include <cstring>
#include <mutex>

#include "context/glEntryPoints.h"
#include "platform/entry_points.h"
#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

typedef void (*SwapIntervalEXT)(Display*, GLXDrawable, int);
typedef int (*SwapIntervalMESA)(unsigned int);
typedef int (*SwapIntervalSGI)(int);

template <class F> F glxProc(const char* name) {
    return reinterpret_cast<F>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

enum class SwapControl { ext, mesa, sgi, none };

// What the current context's screen offers; asked once per screen of a connection the layer
// works on, since GLX's extensions are the same for every context there.
SwapControl swapControl(Display* display) {
    int screen = 0;
    glXQueryContext(display, glXGetCurrentContext(), GLX_SCREEN, &screen);
    const std::shared_ptr<Connection> known = connectionOf(display);
    std::unique_lock<decltype(known->learntMutex)> lock;
    if (known) {
        lock = std::unique_lock<decltype(known->learntMutex)>(known->learntMutex);
        auto found = known->swapControl.find(screen);
        if (found != known->swapControl.end())
            return static_cast<SwapControl>(found->second);
    }
    const char* extensions = glXQueryExtensionsString(display, screen);
    SwapControl control = SwapControl::none;
    if (hasExtension(extensions, "GLX_EXT_swap_control"))
        control = SwapControl::ext;
    else if (hasExtension(extensions, "GLX_MESA_swap_control"))
        control = SwapControl::mesa;
    else if (hasExtension(extensions, "GLX_SGI_swap_control"))
        control = SwapControl::sgi;
    if (known)
        known->swapControl[screen] = static_cast<int>(control);
    return control;
}

bool adaptiveSwap(Display* display) {
    int screen = 0;
    glXQueryContext(display, glXGetCurrentContext(), GLX_SCREEN, &screen);
    return hasExtension(glXQueryExtensionsString(display, screen), "GLX_EXT_swap_control_tear");
}

BOOL swapIntervalEXT(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || drawable == None)
        return FALSE;
    // A negative interval asks for adaptive sync, which GLX_EXT_swap_control_tear brings.
    if (interval < 0 && !adaptiveSwap(display))
        return FALSE;
    switch (swapControl(display)) {
    case SwapControl::ext: {
        ErrorTrap trap(display);
        glxProc<SwapIntervalEXT>("glXSwapIntervalEXT")(display, drawable, interval);
        return trap.failed() ? FALSE : TRUE;
    }
    case SwapControl::mesa:
        return glxProc<SwapIntervalMESA>("glXSwapIntervalMESA")(interval) == 0 ? TRUE : FALSE;
    case SwapControl::sgi:
        // The SGI extension cannot switch the retrace sync off, only lengthen it.
        return interval > 0 && glxProc<SwapIntervalSGI>("glXSwapIntervalSGI")(interval) == 0
                   ? TRUE
                   : FALSE;
    case SwapControl::none:
        break;
    }
    // NOTE: Mesa's software rasteriser on a server without DRI (Xvfb, for one) offers no
    // swap control: its swaps copy the image at once and never wait for the retrace. Interval
    // 0 therefore holds already; any other cannot be had.
    return interval == 0 ? TRUE : FALSE;
}

PROC glxEntryPoint(const char* name) {
    return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
}

} // namespace

PROC GlxBackend::procAddress(const char* name) {
    // Offered with every context, as Wine offers it; the function itself finds the means.
    if (std::strcmp(name, zn::kGLEntryPoints[zn::SwapInterval].name) == 0)
        return reinterpret_cast<PROC>(&swapIntervalEXT);
    return native::advertisedEntryPoint(name, &glxEntryPoint);
}

} // namespace zn::x11
