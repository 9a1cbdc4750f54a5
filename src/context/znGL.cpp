#include "znGL.h"

#include <mutex>

#include "context/znGLFunctions.h"

namespace {

// Before the first render context exists the empty table answers, so no call reaches null.
// Held shared by the caller, so that no thread destroys or fills the table meanwhile.
znGLFunctions& table() {
    znGLFunctions* current = getCurrentGLFunctions();
    return current ? *current : znGLFunctions::empty();
}

// An entry of the current table. The driver's entry points outlive the table that names them,
// so the call itself needs no lock.
template <class F> F entry(F znGLFunctions::*field) {
    std::shared_lock<std::shared_mutex> lock(glFunctionsMutex());
    return table().*field;
}

// Calls an entry point the driver may lack; a missing one does nothing.
template <class F, class... Args> void forward(F znGLFunctions::*field, Args... args) {
    if (const F resolved = entry(field))
        resolved(args...);
}

// Calls a unit selector unless its own cache says the unit is already selected.
template <class F>
void selectUnit(F znGLFunctions::*field, std::atomic<GLuint> znGLFunctions::*cache,
                unsigned int unit) {
    F resolved;
    {
        std::shared_lock<std::shared_mutex> lock(glFunctionsMutex());
        znGLFunctions& t = table();
        if ((t.*cache).exchange(unit) == unit)
            return;
        resolved = t.*field;
    }
    if (resolved)
        resolved(unit);
}

} // namespace

namespace znGL {

bool hasGLContext() {
    std::shared_lock<std::shared_mutex> lock(glFunctionsMutex());
    return getCurrentGLFunctions() != nullptr;
}

bool isGLExtensionsSupported(GLExtension extensions) {
    return (entry(&znGLFunctions::extensionFlags) & extensions) != 0;
}

unsigned int getMaxTextureUnits() {
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    return static_cast<unsigned int>(units);
}

void glPointParameterfARB(unsigned int pname, float param) {
    forward(&znGLFunctions::glPointParameterfARB, pname, param);
}

void glPointParameterfvARB(unsigned int pname, float* params) {
    forward(&znGLFunctions::glPointParameterfvARB, pname, params);
}

void glMultiTexCoord2fARB(unsigned int unit, float s, float t) {
    forward(&znGLFunctions::glMultiTexCoord2fARB, unit, s, t);
}

void glActiveTextureARB(unsigned int unit) {
    selectUnit(&znGLFunctions::glActiveTextureARB, &znGLFunctions::cachedTextureUnit, unit);
}

void glClientActiveTextureARB(unsigned int unit) {
    selectUnit(&znGLFunctions::glClientActiveTextureARB, &znGLFunctions::cachedClientTextureUnit,
               unit);
}

void glBindBufferARB(unsigned int target, unsigned int buffer) {
    forward(&znGLFunctions::glBindBufferARB, target, buffer);
}

void glGenBuffersARB(int count, unsigned int* buffers) {
    forward(&znGLFunctions::glGenBuffersARB, count, buffers);
}

void glBufferDataARB(unsigned int target, int size, const void* data, unsigned int usage) {
    // The driver takes a pointer-sized size: widened here, sign and all.
    forward(&znGLFunctions::glBufferDataARB, target, static_cast<GLsizeiptrARB>(size), data, usage);
}

void wglSwapIntervalEXT(int interval) {
    forward(&znGLFunctions::wglSwapIntervalEXT, interval);
}

} // namespace znGL
