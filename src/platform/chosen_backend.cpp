// The back-end of a Linux library, chosen at run time: windows, fonts and boxes go to the one the
// host chose (Wayland after znSetWaylandDisplay, else X11), and every operation on an object goes
// to the back-end that made it, so handles made before a change of mind keep working.
#include "platform/freetype/ft_font.h"
#include "platform/wayland/wayland_platform.h"
#include "platform/x11/x11_platform.h"

namespace {

using namespace zn;

native::Backend& x11() {
    return x11::platform().glx;
}

native::Backend& forNew() {
    return wayland::chosen() ? static_cast<native::Backend&>(wayland::backend()) : x11();
}

template <class Object, class WaylandObject> native::Backend& ownerOf(Object& made) {
    return dynamic_cast<WaylandObject*>(&made) ? static_cast<native::Backend&>(wayland::backend())
                                               : x11();
}

native::Backend& of(native::Window& window) {
    return ownerOf<native::Window, wayland::WaylandWindow>(window);
}

native::Backend& of(native::Context& context) {
    return ownerOf<native::Context, wayland::WaylandContext>(context);
}

// The back-end whose context is current on the calling thread (X11 when none is).
native::Backend& ofCurrent() {
    const wayland::Libraries* egl = wayland::librariesOpened();
    if (!egl)
        return x11();
    egl->bindAPI(EGL_OPENGL_API);
    return egl->getCurrentContext() != EGL_NO_CONTEXT
               ? static_cast<native::Backend&>(wayland::backend())
               : x11();
}

class Chosen final : public native::Backend {
  public:
    std::shared_ptr<native::Window> openWindow(HWND window) override {
        return forNew().openWindow(window);
    }
    bool isIconic(HWND window) override { return forNew().isIconic(window); }
    void sizeWindow(HWND window, int width, int height) override {
        forNew().sizeWindow(window, width, height);
    }

    int chooseFormat(native::Window& window, const PIXELFORMATDESCRIPTOR& request) override {
        return of(window).chooseFormat(window, request);
    }
    int describeFormat(native::Window& window, int format, PIXELFORMATDESCRIPTOR* out) override {
        return of(window).describeFormat(window, format, out);
    }
    bool drawsToWindow(native::Window& window, int format) override {
        return of(window).drawsToWindow(window, format);
    }
    int windowFormat(native::Window& window) override { return of(window).windowFormat(window); }
    bool storeWindowFormat(native::Window& window, int format) override {
        return of(window).storeWindowFormat(window, format);
    }

    std::shared_ptr<native::Context> createContext(native::Window& window, int format) override {
        return of(window).createContext(window, format);
    }
    bool makeCurrent(native::Window& window, native::Context& context) override {
        native::Backend& target = of(window);
        if (&target != &of(context)) {
            target.diagnose("wglMakeCurrent", "the context belongs to the other window system");
            return false;
        }
        // A thread has one current context across both window systems.
        if (&target != &ofCurrent() && !ofCurrent().releaseCurrent())
            return false;
        return target.makeCurrent(window, context);
    }
    bool releaseCurrent() override { return ofCurrent().releaseCurrent(); }
    bool isCurrent(native::Context& context) override { return of(context).isCurrent(context); }
    bool deleteContext(native::Context& context) override {
        return of(context).deleteContext(context);
    }
    bool swapBuffers(native::Window& window) override { return of(window).swapBuffers(window); }
    PROC procAddress(const char* name) override { return ofCurrent().procAddress(name); }

    std::shared_ptr<native::Font> createFont(const native::FontRequest& request) override {
        return forNew().createFont(request);
    }
    // A font builds its glyphs with the back-end that made it, into whichever context is
    // current: GL display lists are the same on both.
    bool useFontBitmaps(native::Font* font, DWORD first, DWORD count, DWORD listBase) override {
        native::Backend& builder =
            font ? ownerOf<native::Font, freetype::FreeTypeFont>(*font) : ofCurrent();
        return builder.useFontBitmaps(font, first, count, listBase);
    }

    // A box is the X11 layer's on either: a dialog where an X display is, else the line.
    int messageBox(HWND owner, const char* text, const char* caption, UINT style) override {
        return x11().messageBox(wayland::chosen() ? nullptr : owner, text, caption, style);
    }
    void diagnose(const char* call, const std::string& why) override {
        forNew().diagnose(call, why);
    }
};

} // namespace

zn::native::Backend& zn::native::backend() {
    static Chosen* const chosen = new Chosen();
    return *chosen;
}
