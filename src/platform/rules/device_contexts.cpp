// Device contexts, the window's pixel format and the buffer swap.
#include <string>

#include "platform/rules/state.h"

namespace zn::rules {

State& state() {
    // Never destroyed: other threads may still be inside the layer while the process exits.
    static State* const made = new State();
    return *made;
}

void reset() {
    forgetCurrent();
    state().deviceContexts.clear();
    state().renderingContexts.clear();
    state().fonts.clear();
}

std::shared_ptr<DeviceContext> findDC(HDC dc) {
    return dc ? state().deviceContexts.find(dc) : nullptr;
}

int formatOf(DeviceContext& dc) {
    if (dc.format == 0 && dc.window)
        dc.format = native::backend().windowFormat(*dc.native);
    return dc.format;
}

std::shared_ptr<native::Window> windowOf(HDC dc) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    return held ? held->native : nullptr;
}

int liveDeviceContexts() {
    return state().deviceContexts.size();
}

HDC getDC(HWND window) {
    std::shared_ptr<native::Window> native = native::backend().openWindow(window);
    if (!native)
        return nullptr;
    auto dc = std::make_shared<DeviceContext>();
    dc->window = window;
    dc->native = std::move(native);
    dc->font = stockFont();
    return state().deviceContexts.add<HDC>(std::move(dc));
}

int releaseDC(HWND window, HDC dc) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!held || held->window != window)
        return 0;
    // Another thread may release the same handle meanwhile: one of the two does.
    return state().deviceContexts.remove(dc) ? 1 : 0;
}

BOOL isIconic(HWND window) {
    return window && native::backend().isIconic(window) ? TRUE : FALSE;
}

int messageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    return native::backend().messageBox(owner, text, caption, style);
}

int choosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!held || !request)
        return 0;
    return native::backend().chooseFormat(*held->native, *request);
}

BOOL setPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* /*request*/) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    // The screen takes no pixel format.
    if (!held || !held->window)
        return FALSE;
    if (!native::backend().drawsToWindow(*held->native, format)) {
        native::backend().diagnose("SetPixelFormat",
                                   "format " + std::to_string(format) + " cannot draw to a window");
        return FALSE;
    }
    std::lock_guard<decltype(state().formatMutex)> lock(state().formatMutex);
    // As on Windows, a window's format is set once; setting the same one again is harmless.
    if (const int set = formatOf(*held)) {
        if (set == format)
            return TRUE;
        native::backend().diagnose("SetPixelFormat",
                                   "the window already has format " + std::to_string(set));
        return FALSE;
    }
    if (!native::backend().storeWindowFormat(*held->native, format))
        return FALSE;
    held->format = format;
    return TRUE;
}

int describePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* out) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    // Without a descriptor to fill, the answer is the number of formats.
    if (!held || (out && size < sizeof(PIXELFORMATDESCRIPTOR)))
        return 0;
    return native::backend().describeFormat(*held->native, format, out);
}

BOOL swapBuffers(HDC dc) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!held || !held->window || formatOf(*held) == 0)
        return FALSE;
    return native::backend().swapBuffers(*held->native) ? TRUE : FALSE;
}

} // namespace zn::rules

void zn::windowSized(HWND window, int width, int height) {
    if (window)
        zn::native::backend().sizeWindow(window, width, height);
}
