// Rendering contexts as GLX contexts, and the buffer swap.
#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

X11Context& glxContext(native::Context& context) {
    return static_cast<X11Context&>(context);
}

// A GLX context of the format on the connection; null when GLX refused it, said on standard error.
GLXContext newContext(Display* display, int screen, int format) {
    FBConfigList configs(display, screen);
    GLXFBConfig config = configs.at(format);
    if (!config)
        return nullptr;
    ErrorTrap trap(display);
    GLXContext made = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    if (trap.failed() || !made) {
        x11::diagnose("wglCreateContext", "GLX could not create a context: " + trap.why());
        if (made)
            glXDestroyContext(display, made);
        return nullptr;
    }
    return made;
}

} // namespace

std::shared_ptr<native::Context> GlxBackend::createContext(native::Window& window, int format) {
    const X11Window& target = static_cast<X11Window&>(window);
    std::shared_ptr<Connection> own = takeContextConnection(DisplayString(target.display));
    if (!own) {
        x11::diagnose("wglCreateContext",
                      std::string("cannot open display \"") + DisplayString(target.display) + "\"");
        return nullptr;
    }
    GLXContext made = newContext(own->display, target.screen, format);
    if (!made) {
        giveBackContextConnection(own);
        return nullptr;
    }
    auto context = std::make_shared<X11Context>();
    context->connection = std::move(own);
    context->context = made;
    context->screen = target.screen;
    return context;
}

bool GlxBackend::makeCurrent(native::Window& window, native::Context& context) {
    const X11Window& target = static_cast<X11Window&>(window);
    X11Context& rc = glxContext(context);
    // NOTE: Mesa takes binding the current context to its current drawable again for a no-op,
    // so it would not notice that the window has gone since; only then is the window asked
    // after. Any other binding fails by itself on a window that has gone.
    const bool again =
        glXGetCurrentContext() == rc.context && glXGetCurrentDrawable() == target.window;
    if (target.screen != rc.screen || (again && !windowExists(target))) {
        x11::diagnose("wglMakeCurrent", "the window is gone or on another screen");
        return false;
    }
    Display* display = rc.connection->display;
    ErrorTrap trap(display);
    const Bool made = glXMakeContextCurrent(display, target.window, target.window, rc.context);
    if (made && !trap.failed())
        return true;
    x11::diagnose("wglMakeCurrent", "GLX refused the binding: " + trap.why());
    return false;
}

bool GlxBackend::releaseCurrent() {
    Display* display = glXGetCurrentDisplay();
    if (!glXGetCurrentContext() || !display)
        return true;
    ErrorTrap trap(display);
    const Bool released = glXMakeContextCurrent(display, None, None, nullptr);
    if (released && !trap.failed())
        return true;
    x11::diagnose("wglMakeCurrent", "cannot release the current context: " + trap.why());
    return false;
}

bool GlxBackend::isCurrent(native::Context& context) {
    return glXGetCurrentContext() == glxContext(context).context;
}

bool GlxBackend::deleteContext(native::Context& context) {
    X11Context& rc = glxContext(context);
    Display* display = rc.connection->display;
    bool deleted;
    {
        ErrorTrap trap(display);
        glXDestroyContext(display, rc.context);
        deleted = !trap.failed();
        if (!deleted)
            x11::diagnose("wglDeleteContext", trap.why());
    }
    giveBackContextConnection(rc.connection);
    return deleted;
}

bool GlxBackend::swapBuffers(native::Window& window) {
    const X11Window& target = static_cast<X11Window&>(window);
    // The drawable current on this thread belongs to its context's connection.
    Display* display =
        glXGetCurrentDrawable() == target.window ? glXGetCurrentDisplay() : target.display;
    ErrorTrap trap(display);
    glXSwapBuffers(display, target.window);
    if (!trap.failed())
        return true;
    x11::diagnose("SwapBuffers", trap.why());
    return false;
}

} // namespace zn::x11
