// The window, GDI, WGL and kernel calls of the recording platform. Each call is logged, then
// answered from the script; where no failure is scripted it behaves as Windows does for the
// handles it knows (an unknown or released handle fails).
#include <climits>
#include <cstring>
#include <utility>
#include <strings.h>

#include "record_state.h"

using namespace znRecord::detail;

namespace {

template <class Handle> Handle newHandle(uintptr_t& next) {
    return reinterpret_cast<Handle>(next++);
}

DeviceContext* findDC(HDC dc) {
    auto found = state().dcs.find(dc);
    return found == state().dcs.end() || !found->second.held ? nullptr : &found->second;
}

const HGDIOBJ kStockFont = reinterpret_cast<HGDIOBJ>(0x3000);

// The window system offers this many pixel formats, all described alike.
const int kPixelFormats = 8;

bool isFont(HGDIOBJ object) {
    return object == kStockFont || state().fonts.count(object);
}

bool isSelectedAnywhere(HGDIOBJ object) {
    for (const auto& entry : state().dcs)
        if (entry.second.held && entry.second.font == object)
            return true;
    return false;
}

// The descriptor as "size version flags, then every other member that is not 0".
std::string described(const PIXELFORMATDESCRIPTOR* pfd) {
    if (!pfd)
        return "NULL";
    std::string text =
        "{" + arg(pfd->nSize) + " v" + arg(pfd->nVersion) + " " + arg(Hex{pfd->dwFlags});
    const std::pair<const char*, BYTE> members[] = {{"type", pfd->iPixelType},
                                                    {"color", pfd->cColorBits},
                                                    {"red", pfd->cRedBits},
                                                    {"redShift", pfd->cRedShift},
                                                    {"green", pfd->cGreenBits},
                                                    {"greenShift", pfd->cGreenShift},
                                                    {"blue", pfd->cBlueBits},
                                                    {"blueShift", pfd->cBlueShift},
                                                    {"alpha", pfd->cAlphaBits},
                                                    {"alphaShift", pfd->cAlphaShift},
                                                    {"accum", pfd->cAccumBits},
                                                    {"accumRed", pfd->cAccumRedBits},
                                                    {"accumGreen", pfd->cAccumGreenBits},
                                                    {"accumBlue", pfd->cAccumBlueBits},
                                                    {"accumAlpha", pfd->cAccumAlphaBits},
                                                    {"depth", pfd->cDepthBits},
                                                    {"stencil", pfd->cStencilBits},
                                                    {"aux", pfd->cAuxBuffers},
                                                    {"layer", pfd->iLayerType},
                                                    {"reserved", pfd->bReserved}};
    for (const auto& member : members)
        if (member.second)
            text += std::string(" ") + member.first + "=" + arg(member.second);
    for (DWORD mask : {pfd->dwLayerMask, pfd->dwVisibleMask, pfd->dwDamageMask})
        if (mask)
            text += " mask=" + arg(Hex{mask});
    return text + "}";
}

} // namespace

void znSetX11Display(Display* display) {
    logCall("znSetX11Display", static_cast<const void*>(display));
}

// Answers the default visual of a depth-24 screen, as Xvfb's is, for any display (null too).
int znChooseX11Visual(Display* display, int screen, znX11Visual* visual) {
    logCall("znChooseX11Visual", static_cast<const void*>(display), screen);
    if (fails("znChooseX11Visual") || !visual)
        return 0;
    *visual = znX11Visual{0x21, 24, 0};
    return 1;
}

HDC GetDC(HWND window) {
    logCall("GetDC", window);
    if (fails("GetDC"))
        return nullptr;
    HDC dc = newHandle<HDC>(state().nextDC);
    state().dcs[dc] = DeviceContext{window, true, kStockFont};
    return dc;
}

int ReleaseDC(HWND window, HDC dc) {
    logCall("ReleaseDC", window, dc);
    DeviceContext* held = findDC(dc);
    if (fails("ReleaseDC") || !held || held->window != window)
        return 0;
    held->held = false;
    return 1;
}

BOOL IsIconic(HWND window) {
    logCall("IsIconic", window);
    return state().iconic.count(window) ? TRUE : FALSE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    logCall("MessageBoxA", owner, text, caption, Hex{style});
    state().boxes.push_back(
        znRecord::MessageBox{owner, text ? text : "", caption ? caption : "", style});
    return IDOK;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    logCall("ChoosePixelFormat", dc, described(request));
    if (fails("ChoosePixelFormat") || !findDC(dc) || !request)
        return 0;
    return state().chosenPixelFormat;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request) {
    logCall("SetPixelFormat", dc, format, described(request));
    DeviceContext* held = findDC(dc);
    // The screen (a device context of no window) takes no pixel format.
    if (fails("SetPixelFormat") || !held || !held->window || format < 1 || format > kPixelFormats)
        return FALSE;
    // As on Windows, a window's format is set once; setting the same one again is harmless.
    int& set = state().windowFormats[held->window];
    if (set != 0 && set != format)
        return FALSE;
    set = format;
    return TRUE;
}

int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* out) {
    logCall("DescribePixelFormat", dc, format, size);
    if (fails("DescribePixelFormat") || !findDC(dc))
        return 0;
    // Without a descriptor to fill, the answer is the number of formats.
    if (!out)
        return kPixelFormats;
    if (size < sizeof(PIXELFORMATDESCRIPTOR) || format < 1 || format > kPixelFormats)
        return 0;
    std::memset(out, 0, sizeof *out);
    out->nSize = sizeof *out;
    out->nVersion = 1;
    out->dwFlags = state().pixelFormatFlags;
    out->cColorBits = 32;
    out->cDepthBits = 24;
    return kPixelFormats;
}

BOOL SwapBuffers(HDC dc) {
    logCall("SwapBuffers", dc);
    DeviceContext* held = findDC(dc);
    if (fails("SwapBuffers") || !held || znRecord::windowPixelFormat(held->window) == 0)
        return FALSE;
    return TRUE;
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
    logCall("CreateFontA", height, width, escapement, orientation, weight, italic, underline,
            strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face);
    if (fails("CreateFontA"))
        return nullptr;
    HFONT font = newHandle<HFONT>(state().nextFont);
    state().fonts.insert(font);
    return font;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    logCall("SelectObject", dc, object);
    DeviceContext* held = findDC(dc);
    if (fails("SelectObject") || !held || !isFont(object))
        return nullptr;
    HGDIOBJ previous = held->font;
    held->font = object;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    logCall("DeleteObject", object);
    if (fails("DeleteObject"))
        return FALSE;
    // Stock objects are never deleted, and asking does no harm.
    if (object == kStockFont)
        return TRUE;
    // GDI refuses to delete an object that a device context still has selected.
    if (isSelectedAnywhere(object))
        return FALSE;
    return state().fonts.erase(object) ? TRUE : FALSE;
}

HGLRC wglCreateContext(HDC dc) {
    logCall("wglCreateContext", dc);
    DeviceContext* held = findDC(dc);
    const int format = held ? znRecord::windowPixelFormat(held->window) : 0;
    if (fails("wglCreateContext") || format == 0)
        return nullptr;
    HGLRC rc = newHandle<HGLRC>(state().nextRC);
    state().contexts[rc] = format;
    return rc;
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
    logCall("wglMakeCurrent", dc, rc);
    if (fails("wglMakeCurrent"))
        return FALSE;
    if (!rc) {
        binding() = Binding{};
        return TRUE;
    }
    // A context renders only into windows of the pixel format it was made for.
    DeviceContext* held = findDC(dc);
    auto context = state().contexts.find(rc);
    if (!held || context == state().contexts.end() ||
        znRecord::windowPixelFormat(held->window) != context->second || currentElsewhere(rc))
        return FALSE;
    binding() = Binding{rc, dc};
    return TRUE;
}

BOOL wglDeleteContext(HGLRC rc) {
    logCall("wglDeleteContext", rc);
    // A context current on another thread is that thread's to release first.
    if (fails("wglDeleteContext") || currentElsewhere(rc) || !state().contexts.erase(rc))
        return FALSE;
    if (binding().rc == rc)
        binding() = Binding{};
    return TRUE;
}

PROC wglGetProcAddress(LPCSTR name) {
    logCall("wglGetProcAddress", name);
    if (fails("wglGetProcAddress") || !name || !binding().rc || state().missingProcs.count(name))
        return nullptr;
    const auto answer = state().procAnswers.find(name);
    if (answer != state().procAnswers.end())
        return reinterpret_cast<PROC>(answer->second);
    return procAddress(name);
}

HDC wglGetCurrentDC() {
    logCall("wglGetCurrentDC");
    return binding().dc;
}

BOOL wglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase) {
    logCall("wglUseFontBitmapsA", dc, first, count, listBase);
    if (fails("wglUseFontBitmapsA") || !findDC(dc) || !binding().rc)
        return FALSE;
    for (znRecord::ListBlock& block : state().lists)
        if (!block.deleted && block.base <= listBase &&
            listBase + count <= block.base + block.range)
            block.built = true;
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    logCall("QueryPerformanceFrequency");
    frequency->QuadPart = fails("QueryPerformanceFrequency") ? 0 : state().frequency;
    return frequency->QuadPart != 0;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    logCall("QueryPerformanceCounter");
    if (fails("QueryPerformanceCounter"))
        return FALSE;
    count->QuadPart = state().count;
    return TRUE;
}

int _stricmp(const char* a, const char* b) {
    // The Windows runtime answers a missing string with _NLSCMPERROR.
    if (!a || !b)
        return INT_MAX;
    return strcasecmp(a, b);
}
