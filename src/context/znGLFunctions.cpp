#include "context/znGLFunctions.h"

#include <cstdint>
#include <string>

#include "context/glEntryPoints.h"
#include "errors/report.h"

namespace {

znGLFunctions* currentGLFunctions = nullptr;

void reportMissing(const std::string& text, UINT style) {
    zn::report("Error", text.c_str(), style);
}

// NOTE: some Windows drivers answer 1, 2, 3 or -1 rather than null for a name they lack, and
// calling such an address crashes: those answers count as missing.
PROC usable(PROC address) {
    const intptr_t value = reinterpret_cast<intptr_t>(address);
    return value >= -1 && value <= 3 ? nullptr : address;
}

template <class F> F procAddress(const char* name) {
    // Through void(*)() because WGL hands out one generic function type for every name.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(usable(wglGetProcAddress(name))));
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

template <class F> void znGLFunctions::lookUp(F& field, std::size_t entry) {
    const zn::GLEntryPoint& point = zn::kGLEntryPoints[entry];
    field = procAddress<F>(point.name);
    if (field)
        return;
    extensionFlags &= static_cast<unsigned char>(~point.group);
    reportMissing(std::string(point.name) + " not supported", point.missingStyle);
}

void znGLFunctions::loadExtensions() {
    extensionFlags = GLExtensionVertexBufferObject | GLExtensionPointParameters;
    lookUp(glPointParameterfARB, zn::PointParameterf);
    lookUp(glPointParameterfvARB, zn::PointParameterfv);
    lookUp(glBindBufferARB, zn::BindBuffer);
    lookUp(glGenBuffersARB, zn::GenBuffers);
    lookUp(glBufferDataARB, zn::BufferData);
    lookUp(glMultiTexCoord2fARB, zn::MultiTexCoord2f);
    lookUp(glActiveTextureARB, zn::ActiveTexture);
    lookUp(glClientActiveTextureARB, zn::ClientActiveTexture);

    // Frames are paced by the render manager, so the driver must not wait for vertical retrace.
    wglSwapIntervalEXT = procAddress<SwapInterval>(zn::kGLEntryPoints[zn::SwapInterval].name);
    if (wglSwapIntervalEXT)
        wglSwapIntervalEXT(0);
    else
        reportMissing("wglSwapIntervalEXT not supported, VSYNC is on.\n", MB_OK);
}
