// The extension entry points the library looks up by name once a rendering context is current,
// in the order it looks them up. The library, the platforms that answer wglGetProcAddress and
// the tests all read this one table.
#pragma once

#include <cstddef>

#include "platform/win32api.h"
#include "znGL.h"

namespace zn {

struct GLEntryPoint {
    const char* name;      // as wglGetProcAddress is asked
    const char* extension; // the extension that brings it
    int group;             // the GLExtension group it belongs to, 0 for none
    UINT missingStyle;     // the style of the box that reports it missing
};

enum GLEntryIndex : std::size_t {
    PointParameterf,
    PointParameterfv,
    BindBuffer,
    GenBuffers,
    BufferData,
    MultiTexCoord2f,
    ActiveTexture,
    ClientActiveTexture,
    SwapInterval,
    GLEntryPointCount
};

inline constexpr GLEntryPoint kGLEntryPoints[GLEntryPointCount] = {
    {"glPointParameterfARB", "GL_ARB_point_parameters", GLExtensionPointParameters, MB_OK},
    {"glPointParameterfvARB", "GL_ARB_point_parameters", GLExtensionPointParameters, MB_OK},
    {"glBindBufferARB", "GL_ARB_vertex_buffer_object", GLExtensionVertexBufferObject, MB_OK},
    {"glGenBuffersARB", "GL_ARB_vertex_buffer_object", GLExtensionVertexBufferObject, MB_OK},
    {"glBufferDataARB", "GL_ARB_vertex_buffer_object", GLExtensionVertexBufferObject, MB_OK},
    // Multitexture counts towards no group; a driver without it is warned about.
    {"glMultiTexCoord2fARB", "GL_ARB_multitexture", 0, MB_ICONWARNING},
    {"glActiveTextureARB", "GL_ARB_multitexture", 0, MB_ICONWARNING},
    {"glClientActiveTextureARB", "GL_ARB_multitexture", 0, MB_ICONWARNING},
    // Looked up last, and called at once to switch vertical sync off.
    {"wglSwapIntervalEXT", "WGL_EXT_swap_control", 0, MB_OK},
};

} // namespace zn
