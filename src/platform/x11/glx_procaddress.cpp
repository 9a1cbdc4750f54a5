// wglGetProcAddress for the extension entry points the library looks up, and wglSwapIntervalEXT
// over the GLX swap-control extensions.
#include <cstring>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

struct EntryPoint {
    const char* name;
    const char* extension;
};

const EntryPoint kEntryPoints[] = {
    {"glPointParameterfARB", "GL_ARB_point_parameters"},
    {"glPointParameterfvARB", "GL_ARB_point_parameters"},
    {"glBindBufferARB", "GL_ARB_vertex_buffer_object"},
    {"glGenBuffersARB", "GL_ARB_vertex_buffer_object"},
    {"glBufferDataARB", "GL_ARB_vertex_buffer_object"},
    {"glMultiTexCoord2fARB", "GL_ARB_multitexture"},
    {"glActiveTextureARB", "GL_ARB_multitexture"},
    {"glClientActiveTextureARB", "GL_ARB_multitexture"},
};

typedef void (*SwapIntervalEXT)(Display*, GLXDrawable, int);
typedef int (*SwapIntervalMESA)(unsigned int);
typedef int (*SwapIntervalSGI)(int);

template <class F> F glxProc(const char* name) {
    return reinterpret_cast<F>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

const char* currentGLXExtensions(Display* display) {
    int screen = 0;
    glXQueryContext(display, glXGetCurrentContext(), GLX_SCREEN, &screen);
    return glXQueryExtensionsString(display, screen);
}

BOOL swapIntervalEXT(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (interval < 0 || !display || drawable == None)
        return FALSE;
    const char* extensions = currentGLXExtensions(display);
    if (hasExtension(extensions, "GLX_EXT_swap_control")) {
        ErrorTrap trap(display);
        glxProc<SwapIntervalEXT>("glXSwapIntervalEXT")(display, drawable, interval);
        return trap.failed() ? FALSE : TRUE;
    }
    if (hasExtension(extensions, "GLX_MESA_swap_control"))
        return glxProc<SwapIntervalMESA>("glXSwapIntervalMESA")(interval) == 0 ? TRUE : FALSE;
    // The SGI extension cannot switch the retrace sync off, only lengthen it.
    if (hasExtension(extensions, "GLX_SGI_swap_control"))
        return interval > 0 && glxProc<SwapIntervalSGI>("glXSwapIntervalSGI")(interval) == 0
                   ? TRUE
                   : FALSE;
    // NOTE: Mesa's software rasteriser on a server without DRI (Xvfb, for one) offers no
    // swap control: its swaps copy the image at once and never wait for the retrace. Interval
    // 0 therefore holds already; any other cannot be had.
    return interval == 0 ? TRUE : FALSE;
}

PROC extensionEntryPoint(const char* name) {
    for (const EntryPoint& entry : kEntryPoints) {
        if (std::strcmp(name, entry.name) != 0)
            continue;
        // NOTE: glXGetProcAddressARB answers every name on Mesa (GLX allows it), so the
        // context's own extension list decides whether the entry point is there.
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        if (!hasExtension(extensions, entry.extension))
            return nullptr;
        return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
    }
    return nullptr;
}

} // namespace

bool hasExtension(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    if (!list || length == 0)
        return false;
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends)
            return true;
    }
    return false;
}

} // namespace zn::x11

using namespace zn::x11;

PROC wglGetProcAddress(LPCSTR name) {
    if (!name || !glXGetCurrentContext())
        return nullptr;
    // Offered with every context, as Wine offers it; the function itself finds the means.
    if (std::strcmp(name, "wglSwapIntervalEXT") == 0)
        return reinterpret_cast<PROC>(&swapIntervalEXT);
    return extensionEntryPoint(name);
}
