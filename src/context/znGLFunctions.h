// The table of extension entry points that a render context resolves once its rendering
// context is current. The most recently constructed table is the process-wide current one that
// the znGL functions call through. Managers may run on several threads: the current table is
// read under a shared lock, and replaced, filled in or withdrawn under the exclusive one, so a
// thread never reads a table that another thread is destroying or filling.
#pragma once

#include <atomic>
#include <cstddef>
#include <shared_mutex>

#include "platform/win32api.h"

class znGLFunctions {
  public:
    typedef void(APIENTRY* PointParameterf)(GLenum, GLfloat);
    typedef void(APIENTRY* PointParameterfv)(GLenum, const GLfloat*);
    typedef void(APIENTRY* MultiTexCoord2f)(GLenum, GLfloat, GLfloat);
    typedef void(APIENTRY* SelectTexture)(GLenum);
    typedef void(APIENTRY* BindBuffer)(GLenum, GLuint);
    typedef void(APIENTRY* GenBuffers)(GLsizei, GLuint*);
    typedef void(APIENTRY* BufferData)(GLenum, GLsizeiptrARB, const void*, GLenum);
    typedef BOOL(WINAPI* SwapInterval)(int);

    znGLFunctions();
    virtual ~znGLFunctions();
    znGLFunctions(const znGLFunctions&) = delete;
    znGLFunctions& operator=(const znGLFunctions&) = delete;

    // Looks the nine entry points up in the calling thread's current rendering context, shows a
    // box for each one missing and switches vertical sync off where it can. Both cached units
    // start again at GL_TEXTURE0_ARB, as a newly created rendering context's units do.
    void loadExtensions();

    // The table that stands in once the current one is destroyed: nothing resolved, no group.
    static znGLFunctions& empty();

    PointParameterf glPointParameterfARB;
    PointParameterfv glPointParameterfvARB;
    MultiTexCoord2f glMultiTexCoord2fARB;
    SelectTexture glActiveTextureARB;
    SelectTexture glClientActiveTextureARB;
    BindBuffer glBindBufferARB;
    GenBuffers glGenBuffersARB;
    BufferData glBufferDataARB;
    SwapInterval wglSwapIntervalEXT;
    // The units last selected through glActiveTextureARB and glClientActiveTextureARB: the
    // rendering context keeps the two apart, so each selector skips only its own repeats.
    std::atomic<GLuint> cachedTextureUnit;
    std::atomic<GLuint> cachedClientTextureUnit;
    unsigned char extensionFlags;

  private:
    struct Unregistered {};
    explicit znGLFunctions(Unregistered);

    // Resolves one entry of the entry-point table into its field; a missing one is reported
    // and takes its group's flag away.
    template <class F> void lookUp(F& field, std::size_t entry);
};

// Stores the table the znGL functions use; a null table leaves the current one in place.
void setCurrentGLFunctions(znGLFunctions* table);
// The current table, or null before any was made; read it only while holding
// glFunctionsMutex() shared.
znGLFunctions* getCurrentGLFunctions();
std::shared_mutex& glFunctionsMutex();
