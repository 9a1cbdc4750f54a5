// The window, GDI and WGL calls of the recording platform. Each call is logged, then fails
// when the script says so; otherwise the rules layer answers it as Windows does for the handles
// it knows (an unknown or released handle fails), over the recording back-end below, which
// answers from the script: every non-null window is a live, shown one.
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/rules/rules.h"
#include "record_state.h"

using namespace znRecord::detail;
namespace rules = zn::rules;

namespace {

using RecordLock = std::lock_guard<RecordMutex>;

// The window system offers this many pixel formats, all described alike.
const int kPixelFormats = 8;

struct RecordWindow : zn::native::Window {
    explicit RecordWindow(HWND window) : window(window) {}
    const HWND window;
};
struct RecordContext : zn::native::Context {};
struct RecordFont : zn::native::Font {};

HWND windowOf(zn::native::Window& window) {
    return static_cast<RecordWindow&>(window).window;
}

// The context the back-end has current on this thread.
thread_local zn::native::Context* currentNative = nullptr;

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

// Answers what the window system would, from the script.
class RecordBackend final : public zn::native::Backend {
  public:
    std::shared_ptr<zn::native::Window> openWindow(HWND window) override {
        return std::make_shared<RecordWindow>(window);
    }
    bool isIconic(HWND window) override {
        RecordLock lock(mutex());
        return state().iconic.count(window) != 0;
    }

    int chooseFormat(zn::native::Window&, const PIXELFORMATDESCRIPTOR&) override {
        RecordLock lock(mutex());
        return state().chosenPixelFormat;
    }
    int describeFormat(zn::native::Window&, int format, PIXELFORMATDESCRIPTOR* out) override {
        if (!out)
            return kPixelFormats;
        if (format < 1 || format > kPixelFormats)
            return 0;
        RecordLock lock(mutex());
        std::memset(out, 0, sizeof *out);
        out->nSize = sizeof *out;
        out->nVersion = 1;
        out->dwFlags = state().pixelFormatFlags;
        out->cColorBits = 32;
        out->cDepthBits = 24;
        return kPixelFormats;
    }
    bool drawsToWindow(zn::native::Window&, int format) override {
        return format >= 1 && format <= kPixelFormats;
    }
    int windowFormat(zn::native::Window& window) override {
        return znRecord::windowPixelFormat(windowOf(window));
    }
    bool storeWindowFormat(zn::native::Window& window, int format) override {
        RecordLock lock(mutex());
        state().windowFormats[windowOf(window)] = format;
        return true;
    }

    std::shared_ptr<zn::native::Context> createContext(zn::native::Window&, int) override {
        return std::make_shared<RecordContext>();
    }
    bool makeCurrent(zn::native::Window&, zn::native::Context& context) override {
        currentNative = &context;
        return true;
    }
    bool releaseCurrent() override {
        currentNative = nullptr;
        return true;
    }
    bool isCurrent(zn::native::Context& context) override { return currentNative == &context; }
    bool deleteContext(zn::native::Context&) override { return true; }
    bool swapBuffers(zn::native::Window&) override { return true; }
    PROC procAddress(const char* name) override {
        std::unique_lock<RecordMutex> lock(mutex());
        if (state().missingProcs.count(name))
            return nullptr;
        const auto answer = state().procAnswers.find(name);
        if (answer != state().procAnswers.end())
            return reinterpret_cast<PROC>(answer->second);
        lock.unlock();
        return znRecord::detail::procAddress(name);
    }

    std::shared_ptr<zn::native::Font> createFont(const zn::native::FontRequest&) override {
        return std::make_shared<RecordFont>();
    }
    bool useFontBitmaps(zn::native::Font*, DWORD, DWORD count, DWORD listBase) override {
        RecordLock lock(mutex());
        for (znRecord::ListBlock& block : state().lists)
            if (!block.deleted && block.base <= listBase &&
                listBase + count <= block.base + block.range)
                block.built = true;
        return true;
    }

    int messageBox(HWND owner, const char* text, const char* caption, UINT style) override {
        RecordLock lock(mutex());
        state().boxes.push_back(
            znRecord::MessageBox{owner, text ? text : "", caption ? caption : "", style});
        return IDOK;
    }
    void diagnose(const char*, const std::string&) override {}
};

} // namespace

zn::native::Backend& zn::native::backend() {
    static RecordBackend* const record = new RecordBackend();
    return *record;
}

void znSetX11Display(Display* display) {
    logCall("znSetX11Display", static_cast<const void*>(display));
}

void znSetWaylandDisplay(wl_display* display) {
    logCall("znSetWaylandDisplay", static_cast<const void*>(display));
}

void znSetWaylandWindowSize(HWND window, int width, int height) {
    logCall("znSetWaylandWindowSize", window, width, height);
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
    return fails("GetDC") ? nullptr : rules::getDC(window);
}

int ReleaseDC(HWND window, HDC dc) {
    logCall("ReleaseDC", window, dc);
    return fails("ReleaseDC") ? 0 : rules::releaseDC(window, dc);
}

BOOL IsIconic(HWND window) {
    logCall("IsIconic", window);
    return rules::isIconic(window);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    logCall("MessageBoxA", owner, text, caption, Hex{style});
    return rules::messageBox(owner, text, caption, style);
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    logCall("ChoosePixelFormat", dc, described(request));
    return fails("ChoosePixelFormat") ? 0 : rules::choosePixelFormat(dc, request);
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request) {
    logCall("SetPixelFormat", dc, format, described(request));
    return fails("SetPixelFormat") ? FALSE : rules::setPixelFormat(dc, format, request);
}

int DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* out) {
    logCall("DescribePixelFormat", dc, format, size);
    return fails("DescribePixelFormat") ? 0 : rules::describePixelFormat(dc, format, size, out);
}

BOOL SwapBuffers(HDC dc) {
    logCall("SwapBuffers", dc);
    return fails("SwapBuffers") ? FALSE : rules::swapBuffers(dc);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
    logCall("CreateFontA", height, width, escapement, orientation, weight, italic, underline,
            strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face);
    if (fails("CreateFontA"))
        return nullptr;
    return rules::createFont({height, width, escapement, orientation, weight, italic, underline,
                              strikeOut, charSet, outPrecision, clipPrecision, quality,
                              pitchAndFamily, face});
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    logCall("SelectObject", dc, object);
    return fails("SelectObject") ? nullptr : rules::selectObject(dc, object);
}

BOOL DeleteObject(HGDIOBJ object) {
    logCall("DeleteObject", object);
    return fails("DeleteObject") ? FALSE : rules::deleteObject(object);
}

HGLRC wglCreateContext(HDC dc) {
    logCall("wglCreateContext", dc);
    return fails("wglCreateContext") ? nullptr : rules::createContext(dc);
}

BOOL wglMakeCurrent(HDC dc, HGLRC rc) {
    logCall("wglMakeCurrent", dc, rc);
    return fails("wglMakeCurrent") ? FALSE : rules::makeCurrent(dc, rc);
}

BOOL wglDeleteContext(HGLRC rc) {
    logCall("wglDeleteContext", rc);
    return fails("wglDeleteContext") ? FALSE : rules::deleteContext(rc);
}

PROC wglGetProcAddress(LPCSTR name) {
    logCall("wglGetProcAddress", name);
    return fails("wglGetProcAddress") ? nullptr : rules::getProcAddress(name);
}

HDC wglGetCurrentDC() {
    logCall("wglGetCurrentDC");
    return rules::getCurrentDC();
}

BOOL wglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase) {
    logCall("wglUseFontBitmapsA", dc, first, count, listBase);
    return fails("wglUseFontBitmapsA") ? FALSE : rules::useFontBitmaps(dc, first, count, listBase);
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
