// The Win32, WGL, GDI and OpenGL 1.1 calls the library makes, as a Windows program sees them.
// On Windows the system answers them. Elsewhere this header declares the same subset, and the
// platform linked into the library answers it: src/platform/x11 (Xlib, GLX, POSIX clocks) or
// src/platform/record (the scripted, recording stand-in used by the tests).
#pragma once

#include "znPlatform.h"

#if !defined(_WIN32)

#include <stdint.h>

#define WINAPI
#ifndef APIENTRY
#define APIENTRY
#endif

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef const char* LPCSTR;
typedef void* HGDIOBJ;
typedef void* HANDLE;
typedef long LONG;
typedef UINT MMRESULT;
typedef void (*PROC)();

#define FALSE 0
#define TRUE 1

typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
} PIXELFORMATDESCRIPTOR;

#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_DRAW_TO_BITMAP 0x00000008
#define PFD_SUPPORT_GDI 0x00000010
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_FORMAT 0x00000040
#define PFD_GENERIC_ACCELERATED 0x00001000
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

#define MB_OK 0x00000000
#define MB_ICONERROR 0x00000010
#define MB_ICONWARNING 0x00000030
#define IDOK 1

#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#define TIMER_ALL_ACCESS 0x001F0003
#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000
#define WAIT_TIMEOUT 0x00000102
#define WAIT_FAILED 0xFFFFFFFF

#define ANSI_CHARSET 0
#define SYMBOL_CHARSET 2
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0

// Window services
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
BOOL IsIconic(HWND window);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);

// GDI
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request);
int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* out);
BOOL SwapBuffers(HDC dc);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

// WGL
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC rc);
BOOL wglDeleteContext(HGLRC rc);
PROC wglGetProcAddress(LPCSTR name);
HDC wglGetCurrentDC();
BOOL wglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase);

// Kernel
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
void Sleep(DWORD milliseconds);
// A waitable timer: due times are in 100 ns units, negative for a time relative to now.
HANDLE CreateWaitableTimerExW(void* attributes, const wchar_t* name, DWORD flags, DWORD access);
BOOL SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due, LONG period, void* completion,
                      void* argument, BOOL resume);
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL CloseHandle(HANDLE object);

// Multimedia timers (winmm): the system timer's resolution
MMRESULT timeBeginPeriod(UINT milliseconds);
MMRESULT timeEndPeriod(UINT milliseconds);

// C runtime
int _stricmp(const char* a, const char* b);

#endif

#if defined(_WIN32)
#include <mmsystem.h>
// Windows 10 1803 and later; older systems refuse the flag.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif
#endif

namespace zn {
// A report's message box with no owner window. Windows' MessageBoxA always shows a box, so there
// the platform turns the box into a line on standard error when ZNVELMORA_MESSAGEBOX=stderr
// (src/platform/windows), as the X11 layer's MessageBoxA does by itself.
#if defined(_WIN32)
int reportBox(LPCSTR text, LPCSTR caption, UINT style);
#else
inline int reportBox(LPCSTR text, LPCSTR caption, UINT style) {
    return MessageBoxA(nullptr, text, caption, style);
}
#endif

// Tells the platform the size the host gave its window's drawing area (the buffers of a Wayland
// surface are as large as its client makes them); Windows and X11 know a window's size already.
#if defined(_WIN32)
inline void windowSized(HWND, int, int) {}
#else
void windowSized(HWND window, int width, int height);
#endif

} // namespace zn

// Types and tokens of the ARB extensions that the OpenGL 1.1 header may lack.
#ifndef GL_ARB_vertex_buffer_object
#include <stddef.h>
typedef ptrdiff_t GLsizeiptrARB;
#endif
#ifndef GL_TEXTURE0_ARB
#define GL_TEXTURE0_ARB 0x84C0
#endif
#ifndef GL_MAX_TEXTURE_UNITS_ARB
#define GL_MAX_TEXTURE_UNITS_ARB 0x84E2
#endif
