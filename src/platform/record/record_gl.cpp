// The OpenGL calls of the recording platform: OpenGL 1.1 as the library calls it, and the
// extension entry points that wglGetProcAddress hands out. Calls are logged; queries answer from
// the script; display lists are tracked by name.
#include <cstring>

#include "context/glEntryPoints.h"
#include "platform/rules/rules.h"
#include "record_state.h"

using namespace znRecord::detail;

namespace {

void deleteLists(GLuint list, GLsizei range) {
    for (znRecord::ListBlock& block : state().lists)
        if (!block.deleted && list <= block.base && block.base + block.range <= list + range)
            block.deleted = true;
}

bool isLiveList(GLuint list) {
    for (const znRecord::ListBlock& block : state().lists)
        if (!block.deleted && block.base <= list && list < block.base + block.range)
            return true;
    return false;
}

// The stand-ins log under the names of the entry-point table, so the log reads as the
// driver's calls would.
template <std::size_t Entry, class... Args> void logEntry(Args... args) {
    logCall(zn::kGLEntryPoints[Entry].name, args...);
}

void APIENTRY pointParameterf(GLenum pname, GLfloat param) {
    logEntry<zn::PointParameterf>(Hex{pname}, param);
}
void APIENTRY pointParameterfv(GLenum pname, const GLfloat* params) {
    logEntry<zn::PointParameterfv>(Hex{pname}, params ? params[0] : 0.0f);
}
void APIENTRY bindBuffer(GLenum target, GLuint buffer) {
    logEntry<zn::BindBuffer>(Hex{target}, buffer);
}
void APIENTRY genBuffers(GLsizei count, GLuint* buffers) {
    logEntry<zn::GenBuffers>(count);
    for (GLsizei i = 0; i < count; ++i)
        buffers[i] = state().nextBuffer++;
}
// Typed as the driver's, with a pointer-sized size, so a caller that passes a narrower one
// shows in the log.
void APIENTRY bufferData(GLenum target, GLsizeiptrARB size, const void* data, GLenum usage) {
    logEntry<zn::BufferData>(Hex{target}, static_cast<long long>(size), data, Hex{usage});
}
void APIENTRY multiTexCoord2f(GLenum unit, GLfloat s, GLfloat t) {
    logEntry<zn::MultiTexCoord2f>(Hex{unit}, s, t);
}
void APIENTRY activeTexture(GLenum unit) {
    logEntry<zn::ActiveTexture>(Hex{unit});
}
void APIENTRY clientActiveTexture(GLenum unit) {
    logEntry<zn::ClientActiveTexture>(Hex{unit});
}
BOOL WINAPI swapInterval(int interval) {
    logEntry<zn::SwapInterval>(interval);
    // Without WGL_EXT_swap_control_tear a negative interval is refused.
    return !fails("wglSwapIntervalEXT") && interval >= 0 ? TRUE : FALSE;
}

template <class F> PROC asProc(F entry) {
    return reinterpret_cast<PROC>(entry);
}

} // namespace

PROC znRecord::detail::procAddress(const char* name) {
    // In the order of the entry-point table.
    static const PROC entries[] = {
        asProc(pointParameterf), asProc(pointParameterfv),    asProc(bindBuffer),
        asProc(genBuffers),      asProc(bufferData),          asProc(multiTexCoord2f),
        asProc(activeTexture),   asProc(clientActiveTexture), asProc(swapInterval),
    };
    static_assert(sizeof entries / sizeof entries[0] == zn::GLEntryPointCount);
    for (std::size_t entry = 0; entry < zn::GLEntryPointCount; ++entry)
        if (std::strcmp(name, zn::kGLEntryPoints[entry].name) == 0)
            return entries[entry];
    return nullptr;
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    logCall("glClearColor", r, g, b, a);
}
void glClearDepth(GLclampd depth) {
    logCall("glClearDepth", depth);
}
void glClear(GLbitfield mask) {
    logCall("glClear", Hex{mask});
}
void glEnable(GLenum cap) {
    logCall("glEnable", Hex{cap});
}
void glDisable(GLenum cap) {
    logCall("glDisable", Hex{cap});
}
void glFinish() {
    logCall("glFinish");
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    logCall("glViewport", x, y, width, height);
}
void glMatrixMode(GLenum mode) {
    logCall("glMatrixMode", Hex{mode});
}
void glPushMatrix() {
    logCall("glPushMatrix");
}
void glPopMatrix() {
    logCall("glPopMatrix");
}
void glLoadIdentity() {
    logCall("glLoadIdentity");
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    logCall("glOrtho", l, r, b, t, n, f);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    logCall("glTranslatef", x, y, z);
}
void glPushAttrib(GLbitfield mask) {
    logCall("glPushAttrib", Hex{mask});
}
void glPopAttrib() {
    logCall("glPopAttrib");
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    logCall("glColor3f", r, g, b);
}
void glRasterPos2f(GLfloat x, GLfloat y) {
    logCall("glRasterPos2f", x, y);
}
void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
    logCall("glRasterPos3f", x, y, z);
}

GLuint glGenLists(GLsizei range) {
    logCall("glGenLists", range);
    if (fails("glGenLists") || range <= 0 || !zn::rules::currentContext())
        return 0;
    const GLuint base = state().nextList;
    state().nextList += range;
    state().lists.push_back(znRecord::ListBlock{base, range, false, false});
    return base;
}
void glDeleteLists(GLuint list, GLsizei range) {
    logCall("glDeleteLists", list, range);
    deleteLists(list, range);
}
GLboolean glIsList(GLuint list) {
    logCall("glIsList", list);
    return isLiveList(list) ? GL_TRUE : GL_FALSE;
}
void glListBase(GLuint base) {
    logCall("glListBase", base);
}
void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    const bool bytes = type == GL_UNSIGNED_BYTE && lists && n >= 0;
    logCall("glCallLists", n, Hex{type},
            bytes ? arg(Text{static_cast<const char*>(lists), static_cast<size_t>(n)})
                  : arg(lists));
}

const GLubyte* glGetString(GLenum name) {
    logCall("glGetString", Hex{name});
    if (state().failingStrings.count(name)) {
        state().pendingError = GL_INVALID_ENUM;
        return nullptr;
    }
    auto found = state().strings.find(name);
    return reinterpret_cast<const GLubyte*>(found == state().strings.end() ? nullptr
                                                                           : found->second);
}
GLenum glGetError() {
    logCall("glGetError");
    const GLenum error = state().pendingError;
    state().pendingError = GL_NO_ERROR;
    return error;
}
void glGetIntegerv(GLenum pname, GLint* params) {
    logCall("glGetIntegerv", Hex{pname});
    if (pname == GL_MAX_TEXTURE_UNITS_ARB && zn::rules::currentContext())
        *params = state().maxTextureUnits;
}
