/* znVelmora's C interface: the render manager, its settings and driver information, the timer,
 * the bitmap font, the znGL functions and the report handler, for hosts in C or any language
 * that calls C (C#, Python's ctypes, Rust, ...) and for Windows hosts built with any compiler.
 *
 * - Handles are opaque pointers made by a *_create function and freed by its *_destroy.
 * - Every function returns a znvResult: ZNV_OK (0) or a failure, and hands other answers back
 *   through pointers. No exception ever leaves a function, whatever the library or the scene
 *   throws.
 * - The functions behave as their C++ counterparts of the same name (znVelmora.h and the headers
 *   it includes), boxes included; they also return the code of the failure the box reports.
 * - ZNCALL is the calling convention of every function and callback here (__cdecl on Windows).
 * - Strings are 8-bit ANSI, NUL-terminated; flags are ints (0 false, any other value true).
 */
#ifndef ZNVELMORA_C_H
#define ZNVELMORA_C_H

#include <stddef.h>
#include "znVersion.h"

#if defined(_WIN32)
#define ZNCALL __cdecl
#if defined(ZN_STATIC)
#define ZNV_API
#elif defined(ZN_BUILDING_LIBRARY)
#define ZNV_API __declspec(dllexport)
#else
#define ZNV_API __declspec(dllimport)
#endif
#else
#define ZNCALL
#if defined(__GNUC__)
#define ZNV_API __attribute__((visibility("default")))
#else
#define ZNV_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A result is a family and a code: ZNV_FAMILY(result) | ZNV_CODE(result). The context and render
 * families carry the codes their boxes report: ZNV_CONTEXT_FAILURE | 1 is "Could not get device
 * context", ZNV_RENDER_FAILURE | 2 "Error, while rendering the environment.". */
typedef int znvResult;

#define ZNV_OK 0
#define ZNV_CONTEXT_FAILURE 0x100 /* | 1..6: "znVelmora Context Error" */
#define ZNV_RENDER_FAILURE 0x200  /* | 1..3: "znVelmora Render Error" */
#define ZNV_CALL_FAILURE 0x300    /* | one of the four below: the call itself failed */
/* A null handle, or a null pointer for an answer. The call did nothing. */
#define ZNV_INVALID_ARGUMENT (ZNV_CALL_FAILURE | 1)
#define ZNV_OUT_OF_MEMORY (ZNV_CALL_FAILURE | 2)
/* A scene callback returned non-zero (or threw) during start-up or tear-down. */
#define ZNV_SCENE_FAILURE (ZNV_CALL_FAILURE | 3)
/* Anything else thrown inside the library. */
#define ZNV_INTERNAL_FAILURE (ZNV_CALL_FAILURE | 4)

#define ZNV_FAMILY(result) ((result)&0xF00)
#define ZNV_CODE(result) ((result)&0xFF)

/* ---- Version */

/* The running library's version (ZNVELMORA_VERSION_* give the headers' own); a null pointer
 * skips its number. */
ZNV_API znvResult ZNCALL znvGetVersion(int* major, int* minor, int* patch);
/* The running library's version as "major.minor.patch", living as long as the library. */
ZNV_API const char* ZNCALL znvGetVersionString(void);

/* ---- Reports */

/* Box styles a report handler receives (one OK button always). */
#define ZNV_STYLE_PLAIN 0x00
#define ZNV_STYLE_ERROR 0x10
#define ZNV_STYLE_WARNING 0x30

/* Receives each report instead of its box: caption, text and style, on the reporting thread. */
typedef void(ZNCALL* znvReportHandler)(void* user, const char* caption, const char* text,
                                       unsigned int style);
/* Routes every later report of the process to the handler; NULL brings the boxes back. The C++
 * znSetReportHandler sets the same route. */
ZNV_API znvResult ZNCALL znvSetReportHandler(znvReportHandler handler, void* user);

/* ---- The render manager */

/* The host's scene. Each callback gets the user pointer given to znvManager_create and returns 0,
 * or non-zero for a failure: while syncing that is ZNV_RENDER_FAILURE | 3 from
 * znvManager_enterRenderLoop (the content stays marked modified); while animating or drawing it
 * is the box "Error, while rendering the environment." and ZNV_RENDER_FAILURE | 2 from
 * znvManager_renderFunc; during start-up or tear-down it ends the call with ZNV_SCENE_FAILURE. A
 * NULL callback does nothing. The table is copied. */
typedef struct znvScene {
    int(ZNCALL* prepareEnvironment)(void* user); /* start-up: context current, font built */
    int(ZNCALL* initEnvironment)(void* user);    /* start-up, right after */
    int(ZNCALL* syncEnvironment)(void* user);    /* after the content was marked modified */
    int(ZNCALL* animateEnvironment)(void* user, float elapsedSeconds); /* each frame */
    int(ZNCALL* renderEnvironment)(void* user);  /* each frame: set the viewport, draw */
    int(ZNCALL* destroyEnvironment)(void* user); /* tear-down, context still current */
} znvScene;

typedef struct znvManager znvManager;

/* window: the HWND on Windows, the X11 window id on Linux ((void*)(uintptr_t)xwindow). scene may
 * be NULL (nothing to call). Touches neither the window nor OpenGL. */
ZNV_API znvResult ZNCALL znvManager_create(void* window, const znvScene* scene, void* user,
                                           znvManager** manager);
/* Frees the manager; releases no OpenGL resource (call znvManager_destroyOpenGL first). */
ZNV_API znvResult ZNCALL znvManager_destroy(znvManager* manager);

/* ZNV_CONTEXT_FAILURE | code after a failed start-up (the box was shown, or the report handler
 * had it): the window then has no context to tear down, so skip znvManager_destroyOpenGL. */
ZNV_API znvResult ZNCALL znvManager_initializeOpenGL(znvManager* manager);
ZNV_API znvResult ZNCALL znvManager_destroyOpenGL(znvManager* manager);
ZNV_API znvResult ZNCALL znvManager_enterRenderLoop(znvManager* manager);
/* ZNV_RENDER_FAILURE | 1 after a failed buffer swap, which shows no box; | 2 as above. */
ZNV_API znvResult ZNCALL znvManager_renderFunc(znvManager* manager);
/* Makes the manager's rendering context current on the calling thread again (several managers
 * on one thread); ZNV_CONTEXT_FAILURE | 5 when it cannot, with no box. */
ZNV_API znvResult ZNCALL znvManager_makeCurrent(znvManager* manager);

ZNV_API znvResult ZNCALL znvManager_setWindowSize(znvManager* manager, int x, int y, int width,
                                                  int height);
ZNV_API znvResult ZNCALL znvManager_getWindowsPos(znvManager* manager, int* x, int* y);
ZNV_API znvResult ZNCALL znvManager_getWindowsSize(znvManager* manager, int* x, int* y, int* width,
                                                   int* height);
ZNV_API znvResult ZNCALL znvManager_setRenderContentModified(znvManager* manager, int modified);
ZNV_API znvResult ZNCALL znvManager_setShowFPS(znvManager* manager, int show);
ZNV_API znvResult ZNCALL znvManager_getDestinatedFPS(znvManager* manager, unsigned int* fps);
ZNV_API znvResult ZNCALL znvManager_setDestinatedFPS(znvManager* manager, unsigned int fps);
/* Precise pacing, off by default: frames follow an absolute schedule at the target rate itself
 * (znVelmora::setPrecisePacing says how). */
ZNV_API znvResult ZNCALL znvManager_setPrecisePacing(znvManager* manager, int precise);
ZNV_API znvResult ZNCALL znvManager_getPrecisePacing(znvManager* manager, int* precise);
/* Vertical sync on the context current on the calling thread: 0 off (as after start-up), n every
 * n-th retrace, -n adaptive where the driver has it. *granted (NULL allowed) is 0 when there is no
 * context or the driver cannot, and nothing changes then. */
ZNV_API znvResult ZNCALL znvManager_setSwapInterval(znvManager* manager, int interval,
                                                    int* granted);
ZNV_API znvResult ZNCALL znvManager_getSwapInterval(znvManager* manager, int* interval);

/* Driver information. The strings stay valid while the rendering context exists; they are NULL
 * before start-up. */
ZNV_API znvResult ZNCALL znvManager_getGLDriver(znvManager* manager, const char** driver);
ZNV_API znvResult ZNCALL znvManager_getGLVendor(znvManager* manager, const char** vendor);
ZNV_API znvResult ZNCALL znvManager_getGLRenderer(znvManager* manager, const char** renderer);
ZNV_API znvResult ZNCALL znvManager_getGLVersion(znvManager* manager, const char** version);
ZNV_API znvResult ZNCALL znvManager_getGLExtensionCount(znvManager* manager, size_t* count);
/* ZNV_INVALID_ARGUMENT for an index at or past the count. */
ZNV_API znvResult ZNCALL znvManager_getGLExtension(znvManager* manager, size_t index,
                                                   const char** name);

/* ---- The high-resolution timer */

typedef struct znvTimer znvTimer;

ZNV_API znvResult ZNCALL znvTimer_create(znvTimer** timer);
ZNV_API znvResult ZNCALL znvTimer_destroy(znvTimer* timer);
/* *available is 0 when the machine has no performance counter. */
ZNV_API znvResult ZNCALL znvTimer_initializeTimer(znvTimer* timer, int* available);
ZNV_API znvResult ZNCALL znvTimer_performCounter(znvTimer* timer);
ZNV_API znvResult ZNCALL znvTimer_reset(znvTimer* timer);
ZNV_API znvResult ZNCALL znvTimer_getElapsedSeconds(znvTimer* timer, float* seconds);
ZNV_API znvResult ZNCALL znvTimer_getFPS(znvTimer* timer, float* fps);
ZNV_API znvResult ZNCALL znvTimer_elapsedTimeinMSSinceLastRender(znvTimer* timer,
                                                                 unsigned int* milliseconds);

/* ---- The bitmap font (needs a current rendering context, as in C++) */

typedef struct znvFont znvFont;

ZNV_API znvResult ZNCALL znvFont_create(znvFont** font);
/* Frees the font object; its display lists only go with znvFont_clearFont. */
ZNV_API znvResult ZNCALL znvFont_destroy(znvFont* font);
ZNV_API znvResult ZNCALL znvFont_createFont(znvFont* font, const char* face, int height, int weight,
                                            int italic, int underline);
ZNV_API znvResult ZNCALL znvFont_printString(znvFont* font, const char* text, float x, float y,
                                             float z, float r, float g, float b, int inPlace);
/* The overlay form at (x, y), as the six-argument printString. */
ZNV_API znvResult ZNCALL znvFont_printOverlay(znvFont* font, const char* text, float x, float y,
                                              float r, float g, float b);
ZNV_API znvResult ZNCALL znvFont_clearFont(znvFont* font);
/* dc: an HDC on Windows; NULL takes the current one at the next znvFont_createFont. */
ZNV_API znvResult ZNCALL znvFont_setDeviceContextManual(znvFont* font, void* dc);

/* ---- The znGL functions (the most recently constructed render context's entry points) */

#define ZNV_GL_VERTEX_BUFFER_OBJECT 1 /* GLExtensionVertexBufferObject */
#define ZNV_GL_POINT_PARAMETERS 2     /* GLExtensionPointParameters */

ZNV_API znvResult ZNCALL znvGL_hasGLContext(int* has);
ZNV_API znvResult ZNCALL znvGL_isGLExtensionsSupported(unsigned int extensions, int* supported);
ZNV_API znvResult ZNCALL znvGL_getMaxTextureUnits(unsigned int* units);
ZNV_API znvResult ZNCALL znvGL_glPointParameterfARB(unsigned int pname, float param);
ZNV_API znvResult ZNCALL znvGL_glPointParameterfvARB(unsigned int pname, float* params);
ZNV_API znvResult ZNCALL znvGL_glMultiTexCoord2fARB(unsigned int unit, float s, float t);
ZNV_API znvResult ZNCALL znvGL_glActiveTextureARB(unsigned int unit);
ZNV_API znvResult ZNCALL znvGL_glClientActiveTextureARB(unsigned int unit);
ZNV_API znvResult ZNCALL znvGL_glBindBufferARB(unsigned int target, unsigned int buffer);
ZNV_API znvResult ZNCALL znvGL_glGenBuffersARB(int count, unsigned int* buffers);
ZNV_API znvResult ZNCALL znvGL_glBufferDataARB(unsigned int target, int size, const void* data,
                                               unsigned int usage);
ZNV_API znvResult ZNCALL znvGL_wglSwapIntervalEXT(int interval);

#if !defined(_WIN32)
/* ---- X11 (Linux) */

/* Hands the library the host's own Xlib connection (a Display*), as znSetX11Display; NULL goes
 * back to a connection of the library's own. The host keeps it open while the library uses it. */
ZNV_API znvResult ZNCALL znvSetX11Display(void* display);
/* The visual a host's window is best created with to take the library's pixel format, as
 * znChooseX11Visual: its VisualID, its depth, and whether the window needs a colormap of its own
 * (XCreateColormap(display, root, visual, AllocNone), and a border pixel). A NULL display asks on
 * the library's connection. ZNV_CONTEXT_FAILURE | 2 when none can be chosen: no display could be
 * opened, the screen does not exist, or no configuration serves the format. */
ZNV_API znvResult ZNCALL znvChooseX11Visual(void* display, int screen, unsigned long* visualid,
                                            int* depth, int* needsColormap);

/* ---- Wayland (Linux) */

/* Makes the library draw on Wayland on the host's compositor connection (a wl_display*), as
 * znSetWaylandDisplay: window handles then carry the host's wl_surface*. NULL goes back to X11. */
ZNV_API znvResult ZNCALL znvSetWaylandDisplay(void* display);
/* The size the library draws a Wayland window (a wl_surface*) at, for hosts that draw without a
 * manager, as znSetWaylandWindowSize; znvManager_setWindowSize tells it for the manager's window.
 * ZNV_INVALID_ARGUMENT for a null window or a size below 1. */
ZNV_API znvResult ZNCALL znvSetWaylandWindowSize(void* window, int width, int height);
#endif

#ifdef __cplusplus
}
#endif

#endif
