#include "context/znGLFunctions.h"

#include <cstdint>
#include <mutex>
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

std::shared_mutex& glFunctionsMutex() {
    static std::shared_mutex mutex;
    return mutex;
}

void setCurrentGLFunctions(znGLFunctions* table) {
    std::unique_lock<std::shared_mutex> lock(glFunctionsMutex());
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
      cachedTextureUnit(GL_TEXTURE0_ARB), cachedClientTextureUnit(GL_TEXTURE0_ARB),
      extensionFlags(0) {}

znGLFunctions::~znGLFunctions() {
    // The znGL functions keep answering after the current table's owner is gone, so they must
    // never reach this object again.
    std::unique_lock<std::shared_mutex> lock(glFunctionsMutex());
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
    // Resolved aside (the boxes for missing entries may block), then stored at once.
    znGLFunctions resolved{Unregistered{}};
    resolved.extensionFlags = GLExtensionVertexBufferObject | GLExtensionPointParameters;
    resolved.lookUp(resolved.glPointParameterfARB, zn::PointParameterf);
    resolved.lookUp(resolved.glPointParameterfvARB, zn::PointParameterfv);
    resolved.lookUp(resolved.glBindBufferARB, zn::BindBuffer);
    resolved.lookUp(resolved.glGenBuffersARB, zn::GenBuffers);
    resolved.lookUp(resolved.glBufferDataARB, zn::BufferData);
    resolved.lookUp(resolved.glMultiTexCoord2fARB, zn::MultiTexCoord2f);
    resolved.lookUp(resolved.glActiveTextureARB, zn::ActiveTexture);
    resolved.lookUp(resolved.glClientActiveTextureARB, zn::ClientActiveTexture);

    // Frames are paced by the render manager, so the driver must not wait for vertical retrace.
    const SwapInterval swapInterval =
        procAddress<SwapInterval>(zn::kGLEntryPoints[zn::SwapInterval].name);
    if (swapInterval)
        swapInterval(0);
    else
        reportMissing("wglSwapIntervalEXT not supported, VSYNC is on.\n", MB_OK);

    std::unique_lock<std::shared_mutex> lock(glFunctionsMutex());
    glPointParameterfARB = resolved.glPointParameterfARB;
    glPointParameterfvARB = resolved.glPointParameterfvARB;
    glMultiTexCoord2fARB = resolved.glMultiTexCoord2fARB;
    glActiveTextureARB = resolved.glActiveTextureARB;
    glClientActiveTextureARB = resolved.glClientActiveTextureARB;
    glBindBufferARB = resolved.glBindBufferARB;
    glGenBuffersARB = resolved.glGenBuffersARB;
    glBufferDataARB = resolved.glBufferDataARB;
    wglSwapIntervalEXT = swapInterval;
    extensionFlags = resolved.extensionFlags;
    cachedTextureUnit = GL_TEXTURE0_ARB;
    cachedClientTextureUnit = GL_TEXTURE0_ARB;
}
