// The OpenGL calls of the recording platform: OpenGL 1.1 as the library calls it, and the
// extension entry points that wglGetProcAddress hands out. Calls are logged; queries answer from
// the script; display lists are tracked by name.
#include <cstring>
#include <map>
#include <string>

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

void APIENTRY pointParameterf(GLenum pname, GLfloat param) {
    logCall("glPointParameterfARB", Hex{pname}, param);
}
void APIENTRY pointParameterfv(GLenum pname, const GLfloat* params) {
    logCall("glPointParameterfvARB", Hex{pname}, params ? params[0] : 0.0f);
}
void APIENTRY multiTexCoord2f(GLenum unit, GLfloat s, GLfloat t) {
    logCall("glMultiTexCoord2fARB", Hex{unit}, s, t);
}
void APIENTRY activeTexture(GLenum unit) {
    logCall("glActiveTextureARB", Hex{unit});
}
void APIENTRY clientActiveTexture(GLenum unit) {
    logCall("glClientActiveTextureARB", Hex{unit});
}
void APIENTRY bindBuffer(GLenum target, GLuint buffer) {
    logCall("glBindBufferARB", Hex{target}, buffer);
}
void APIENTRY genBuffers(GLsizei count, GLuint* buffers) {
    logCall("glGenBuffersARB", count);
    for (GLsizei i = 0; i < count; ++i)
        buffers[i] = state().nextBuffer++;
}
void APIENTRY bufferData(GLenum target, int size, const void* data, GLenum usage) {
    logCall("glBufferDataARB", Hex{target}, size, data, Hex{usage});
}
BOOL WINAPI swapInterval(int interval) {
    logCall("wglSwapIntervalEXT", interval);
    return interval >= 0 ? TRUE : FALSE;
}

template <class F> PROC asProc(F entry) {
    return reinterpret_cast<PROC>(entry);
}

} // namespace

PROC znRecord::detail::procAddress(const char* name) {
    static const std::map<std::string, PROC> entries = {
        {"glPointParameterfARB", asProc(pointParameterf)},
        {"glPointParameterfvARB", asProc(pointParameterfv)},
        {"glMultiTexCoord2fARB", asProc(multiTexCoord2f)},
        {"glActiveTextureARB", asProc(activeTexture)},
        {"glClientActiveTextureARB", asProc(clientActiveTexture)},
        {"glBindBufferARB", asProc(bindBuffer)},
        {"glGenBuffersARB", asProc(genBuffers)},
        {"glBufferDataARB", asProc(bufferData)},
        {"wglSwapIntervalEXT", asProc(swapInterval)},
    };
    auto entry = entries.find(name);
    return entry == entries.end() ? nullptr : entry->second;
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
    if (fails("glGenLists") || range <= 0 || !binding().rc)
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
    if (pname == GL_MAX_TEXTURE_UNITS_ARB && binding().rc)
        *params = state().maxTextureUnits;
}
