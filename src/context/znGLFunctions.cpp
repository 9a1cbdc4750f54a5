#include "context/znGLFunctions.h"

#include <string>

namespace {

enum : unsigned char { VertexBufferObjects = 1, PointParameters = 2 };

znGLFunctions* currentGLFunctions = nullptr;

void reportMissing(const std::string& text, UINT style) {
    MessageBoxA(nullptr, text.c_str(), "Error", style);
}

template <class F> F procAddress(const char* name) {
    // Through void(*)() because WGL hands out one generic function type for every name.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

template <class F> bool resolve(F& field, const char* name, UINT style) {
    field = procAddress<F>(name);
    if (!field)
        reportMissing(std::string(name) + " not supported", style);
    return field != nullptr;
}

} // namespace

void setCurrentGLFunctions(znGLFunctions* table) {
    if (table)
        currentGLFunctions = table;
}

znGLFunctions* getCurrentGLFunctions() {
    return currentGLFunctions;
}

znGLFunctions::znGLFunctions() : znGLFunctions(Unregistered{}) {
    setCurrentGLFunctions(this);
}

znGLFunctions::znGLFunctions(Unregistered)
    : glPointParameterfARB(nullptr), glPointParameterfvARB(nullptr), glMultiTexCoord2fARB(nullptr),
      glActiveTextureARB(nullptr), glClientActiveTextureARB(nullptr), glBindBufferARB(nullptr),
      glGenBuffersARB(nullptr), glBufferDataARB(nullptr), wglSwapIntervalEXT(nullptr),
      cachedTextureUnit(GL_TEXTURE0_ARB), extensionFlags(0) {}

znGLFunctions::~znGLFunctions() {
    // The znGL functions keep answering after the current table's owner is gone, so they must
    // never reach this object again.
    if (currentGLFunctions == this)
        currentGLFunctions = &empty();
}

znGLFunctions& znGLFunctions::empty() {
    static znGLFunctions table{Unregistered{}};
    return table;
}

void znGLFunctions::loadExtensions() {
    extensionFlags |= PointParameters;
    if (!resolve(glPointParameterfARB, "glPointParameterfARB", MB_OK))
        extensionFlags &= ~PointParameters;
    if (!resolve(glPointParameterfvARB, "glPointParameterfvARB", MB_OK))
        extensionFlags &= ~PointParameters;

    extensionFlags |= VertexBufferObjects;
    if (!resolve(glBindBufferARB, "glBindBufferARB", MB_OK))
        extensionFlags &= ~VertexBufferObjects;
    if (!resolve(glGenBuffersARB, "glGenBuffersARB", MB_OK))
        extensionFlags &= ~VertexBufferObjects;
    if (!resolve(glBufferDataARB, "glBufferDataARB", MB_OK))
        extensionFlags &= ~VertexBufferObjects;

    resolve(glMultiTexCoord2fARB, "glMultiTexCoord2fARB", MB_ICONWARNING);
    resolve(glActiveTextureARB, "glActiveTextureARB", MB_ICONWARNING);
    resolve(glClientActiveTextureARB, "glClientActiveTextureARB", MB_ICONWARNING);

    // Frames are paced by the render manager, so the driver must not wait for vertical retrace.
    wglSwapIntervalEXT = procAddress<SwapInterval>("wglSwapIntervalEXT");
    if (wglSwapIntervalEXT)
        wglSwapIntervalEXT(0);
    else
        reportMissing("wglSwapIntervalEXT not supported, VSYNC is on.\n", MB_OK);
}
