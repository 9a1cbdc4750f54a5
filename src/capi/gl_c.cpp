// The znGL functions and the report handler behind the C interface.
#include "capi/boundary.h"
#include "errors/report.h"
#include "znGL.h"

namespace {

using zn::c::guarded;

// Runs a call that answers nothing.
template <class Call> znvResult forward(Call call) {
    return guarded([&] {
        call();
        return ZNV_OK;
    });
}

} // namespace

znvResult ZNCALL znvSetReportHandler(znvReportHandler handler, void* user) {
    return forward([&] { zn::routeReportsTo(handler, user); });
}

znvResult ZNCALL znvGL_hasGLContext(int* has) {
    if (!has)
        return ZNV_INVALID_ARGUMENT;
    return forward([&] { *has = znGL::hasGLContext(); });
}

znvResult ZNCALL znvGL_isGLExtensionsSupported(unsigned int extensions, int* supported) {
    if (!supported)
        return ZNV_INVALID_ARGUMENT;
    return forward(
        [&] { *supported = znGL::isGLExtensionsSupported(static_cast<GLExtension>(extensions)); });
}

znvResult ZNCALL znvGL_getMaxTextureUnits(unsigned int* units) {
    if (!units)
        return ZNV_INVALID_ARGUMENT;
    return forward([&] { *units = znGL::getMaxTextureUnits(); });
}

znvResult ZNCALL znvGL_glPointParameterfARB(unsigned int pname, float param) {
    return forward([&] { znGL::glPointParameterfARB(pname, param); });
}

znvResult ZNCALL znvGL_glPointParameterfvARB(unsigned int pname, float* params) {
    if (!params)
        return ZNV_INVALID_ARGUMENT;
    return forward([&] { znGL::glPointParameterfvARB(pname, params); });
}

znvResult ZNCALL znvGL_glMultiTexCoord2fARB(unsigned int unit, float s, float t) {
    return forward([&] { znGL::glMultiTexCoord2fARB(unit, s, t); });
}

znvResult ZNCALL znvGL_glActiveTextureARB(unsigned int unit) {
    return forward([&] { znGL::glActiveTextureARB(unit); });
}

znvResult ZNCALL znvGL_glClientActiveTextureARB(unsigned int unit) {
    return forward([&] { znGL::glClientActiveTextureARB(unit); });
}

znvResult ZNCALL znvGL_glBindBufferARB(unsigned int target, unsigned int buffer) {
    return forward([&] { znGL::glBindBufferARB(target, buffer); });
}

znvResult ZNCALL znvGL_glGenBuffersARB(int count, unsigned int* buffers) {
    if (count > 0 && !buffers)
        return ZNV_INVALID_ARGUMENT;
    return forward([&] { znGL::glGenBuffersARB(count, buffers); });
}

znvResult ZNCALL znvGL_glBufferDataARB(unsigned int target, int size, const void* data,
                                       unsigned int usage) {
    return forward([&] { znGL::glBufferDataARB(target, size, data, usage); });
}

znvResult ZNCALL znvGL_wglSwapIntervalEXT(int interval) {
    return forward([&] { znGL::wglSwapIntervalEXT(interval); });
}
