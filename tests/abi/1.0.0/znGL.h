// Extension entry points resolved when a render context is created, reached through the most
// recently constructed render context's table.
#pragma once

#include "znPlatform.h"

// Extension groups whose support is recorded; OR them to ask whether any of them is supported.
enum GLExtension {
    GLExtensionVertexBufferObject = 1, // glBindBufferARB, glGenBuffersARB, glBufferDataARB
    GLExtensionPointParameters = 2,    // glPointParameterfARB, glPointParameterfvARB
};

namespace znGL {

// True once any render context has been constructed in the process.
ZN_API bool hasGLContext();
// True when the current table has every entry point of at least one of the named groups.
ZN_API bool isGLExtensionsSupported(GLExtension extensions);
// GL_MAX_TEXTURE_UNITS_ARB of the calling thread's current context; 0 when it cannot answer.
ZN_API unsigned int getMaxTextureUnits();

// These forward to the driver's entry points unchanged. Check hasGLContext() first, and
// isGLExtensionsSupported() before the point-parameter and buffer functions; a call whose
// entry point the driver lacks does nothing.
ZN_API void glPointParameterfARB(unsigned int pname, float param);
ZN_API void glPointParameterfvARB(unsigned int pname, float* params);
ZN_API void glMultiTexCoord2fARB(unsigned int unit, float s, float t);
// Each unit selector skips the driver when its own unit is already selected (GL_TEXTURE0_ARB
// to begin with, and again each time a render context starts up).
ZN_API void glActiveTextureARB(unsigned int unit);
ZN_API void glClientActiveTextureARB(unsigned int unit);
ZN_API void glBindBufferARB(unsigned int target, unsigned int buffer);
ZN_API void glGenBuffersARB(int count, unsigned int* buffers);
ZN_API void glBufferDataARB(unsigned int target, int size, const void* data, unsigned int usage);
ZN_API void wglSwapIntervalEXT(int interval);

} // namespace znGL
