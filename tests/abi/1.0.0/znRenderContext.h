// Binds OpenGL to one window: device context, pixel format, rendering context.
#pragma once

#include "znException.h"
#include "znPlatform.h"

class znGLFunctions;

// Every failure is thrown as znExceptionHolder<znContextException> with codes 1 to 6.
// Platform resources are acquired only by initRenderContext and released only by
// destroyRenderContext, never by the destructor.
class ZN_API znRenderContext {
  public:
    // Stores the window and creates this context's extension table, which becomes the table the
    // znGL functions use. Makes no system call; a null window is rejected by initRenderContext.
    explicit znRenderContext(HWND window);
    virtual ~znRenderContext();

    // Copies would share and both delete one extension table, so there are none.
    znRenderContext(const znRenderContext&) = delete;
    znRenderContext& operator=(const znRenderContext&) = delete;

    // Gets the window's device context, sets a double-buffered RGBA format with 32 colour and 24
    // depth bits, creates the rendering context, makes it current on the calling thread and
    // resolves the extension entry points. A failed step leaves the earlier ones' handles held.
    virtual void initRenderContext();
    // Leaves no rendering context current on the calling thread, deletes this one and returns the
    // device context. The getters still answer the released handles afterwards.
    virtual void destroyRenderContext();
    // Makes this rendering context current on the calling thread again.
    virtual void makeCurrent();

    znGLFunctions& getGLFunctions();
    HGLRC getRC() const;
    HDC getDC() const;
    HWND getRenderWidget() const;
    int getPixelFormat() const;

  private:
    void setupPixelFormat();

    HGLRC rc;
    HDC dc;
    HWND renderWidget;
    int pixelFormat;
    znGLFunctions* glFunctions;
};
