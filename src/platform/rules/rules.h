// The Windows rules of the platform calls, once for every back-end (platform/native.h): the
// handles and what they name, a window's format set once, a context current on one thread at a
// time, the fonts a device context selects, and the checks ReleaseDC makes. Each function is
// the Win32 call of the same name; a platform exports them under those names (win32_calls.cpp),
// or wraps them as the recording platform does to log and script each call.
//
// Where the rules differ from Windows:
//  - A context current on a thread that ends is released as the thread ends, so another
//    thread can make it current or delete it; Wine 8 keeps it bound to the ended thread
//    (wglMakeCurrent then fails with ERROR_BUSY, wglDeleteContext fails).
//  - wglMakeCurrent(NULL, NULL) succeeds when no context is current, as on Windows (Wine's
//    answers FALSE there).
//  - ReleaseDC refuses a device context named with another window than its own; Windows
//    releases it whatever window is named.
//  - A failed wglMakeCurrent leaves the thread's current context current, as GLX and Wine do;
//    Windows' documentation says it makes it not current.
//  - Handles are numbers from a counter per kind (device contexts 0x1001..., rendering contexts
//    0x2001..., fonts 0x3001..., 0x3000 the stock font), never reused while the platform runs.
#pragma once

#include <memory>

#include "platform/native.h"

namespace zn::rules {

HDC getDC(HWND window);
int releaseDC(HWND window, HDC dc);
BOOL isIconic(HWND window);
int messageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style);

int choosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request);
BOOL setPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request);
int describePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* out);
BOOL swapBuffers(HDC dc);

HFONT createFont(const native::FontRequest& request);
HGDIOBJ selectObject(HDC dc, HGDIOBJ object);
BOOL deleteObject(HGDIOBJ object);

HGLRC createContext(HDC dc);
BOOL makeCurrent(HDC dc, HGLRC rc);
BOOL deleteContext(HGLRC rc);
PROC getProcAddress(LPCSTR name);
HDC getCurrentDC();
BOOL useFontBitmaps(HDC dc, DWORD first, DWORD count, DWORD listBase);

// ---- for the recording platform's queries and the back-ends' own tests

// The stock font every device context starts with.
HGDIOBJ stockFont();
// What a live handle names, or null.
std::shared_ptr<native::Window> windowOf(HDC dc);
std::shared_ptr<native::Font> fontOf(HGDIOBJ font);
// Handles given out and not yet given back.
int liveDeviceContexts();
int liveFonts();
// The calling thread's current rendering context and its device context (null when none).
HGLRC currentContext();
HDC currentDC();
// Forgets every handle and starts the counters again; the calling thread's current context is
// forgotten too. Only the recording platform, between tests, does this.
void reset();

} // namespace zn::rules
