// The Win32 calls of platform/win32api.h for a platform that answers them with the rules alone
// (x11), with nothing of its own to add before each call.
#include "platform/rules/rules.h"

using namespace zn;

HDC GetDC(HWND window) {
    return rules::getDC(window);
}

int ReleaseDC(HWND window, HDC dc) {
    return rules::releaseDC(window, dc);
}

BOOL IsIconic(HWND window) {
    return rules::isIconic(window);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    return rules::messageBox(owner, text, caption, style);
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    return rules::choosePixelFormat(dc, request);
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request) {
    return rules::setPixelFormat(dc, format, request);
}

int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* out) {
    return rules::describePixelFormat(dc, format, size, out);
}

BOOL SwapBuffers(HDC dc) {
    return rules::swapBuffers(dc);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
    return rules::createFont({height, width, escapement, orientation, weight, italic, underline,
                              strikeOut, charSet, outPrecision, clipPrecision, quality,
                              pitchAndFamily, face});
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    return rules::selectObject(dc, object);
}

BOOL DeleteObject(HGDIOBJ object) {
    return rules::deleteObject(object);
}

HGLRC wglCreateContext(HDC dc) {
    return rules::createContext(dc);
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
    return rules::makeCurrent(dc, rc);
}

BOOL wglDeleteContext(HGLRC rc) {
    return rules::deleteContext(rc);
}

PROC wglGetProcAddress(LPCSTR name) {
    return rules::getProcAddress(name);
}

HDC wglGetCurrentDC() {
    return rules::getCurrentDC();
}

BOOL wglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase) {
    return rules::useFontBitmaps(dc, first, count, listBase);
}
