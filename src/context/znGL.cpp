#include "znGL.h"

#include "context/znGLFunctions.h"

namespace {

// Before the first render context exists the empty table answers, so no call reaches null.
znGLFunctions& table() {
    znGLFunctions* current = getCurrentGLFunctions();
    return current ? *current : znGLFunctions::empty();
}

// Calls an entry point the driver may lack; a missing one does nothing.
template <class F, class... Args> void forward(F entry, Args... args) {
    if (entry)
        entry(args...);
}

template <class F> void selectUnit(F znGLFunctions::*entry, unsigned int unit) {
    znGLFunctions& t = table();
    if (unit == t.cachedTextureUnit)
        return;
    t.cachedTextureUnit = unit;
    forward(t.*entry, unit);
}

} // namespace

namespace znGL {

bool hasGLContext() {
    return getCurrentGLFunctions() != nullptr;
}

bool isGLExtensionsSupported(GLExtension extensions) {
    return (table().extensionFlags & extensions) != 0;
}

unsigned int getMaxTextureUnits() {
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    return static_cast<unsigned int>(units);
}

void glPointParameterfARB(unsigned int pname, float param) {
    forward(table().glPointParameterfARB, pname, param);
}

void glPointParameterfvARB(unsigned int pname, float* params) {
    forward(table().glPointParameterfvARB, pname, params);
}

void glMultiTexCoord2fARB(unsigned int unit, float s, float t) {
    forward(table().glMultiTexCoord2fARB, unit, s, t);
}

void glActiveTextureARB(unsigned int unit) {
    selectUnit(&znGLFunctions::glActiveTextureARB, unit);
}

void glClientActiveTextureARB(unsigned int unit) {
    selectUnit(&znGLFunctions::glClientActiveTextureARB, unit);
}

void glBindBufferARB(unsigned int target, unsigned int buffer) {
    forward(table().glBindBufferARB, target, buffer);
}

void glGenBuffersARB(int count, unsigned int* buffers) {
    forward(table().glGenBuffersARB, count, buffers);
}

void glBufferDataARB(unsigned int target, int size, const void* data, unsigned int usage) {
    // The driver takes a pointer-sized size: widened here, sign and all.
    forward(table().glBufferDataARB, target, static_cast<GLsizeiptrARB>(size), data, usage);
}

void wglSwapIntervalEXT(int interval) {
    forward(table().wglSwapIntervalEXT, interval);
}

} // namespace znGL
