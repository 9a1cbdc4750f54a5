// The back-end the FreeType fonts report through: every operation refused but diagnose, which
// writes its line on standard error as a back-end would.
#include <cstdio>

#include "platform/native.h"

namespace {

struct StubBackend final : zn::native::Backend {
    std::shared_ptr<zn::native::Window> openWindow(HWND) override { return nullptr; }
    bool isIconic(HWND) override { return false; }
    int chooseFormat(zn::native::Window&, const PIXELFORMATDESCRIPTOR&) override { return 0; }
    int describeFormat(zn::native::Window&, int, PIXELFORMATDESCRIPTOR*) override { return 0; }
    bool drawsToWindow(zn::native::Window&, int) override { return false; }
    int windowFormat(zn::native::Window&) override { return 0; }
    bool storeWindowFormat(zn::native::Window&, int) override { return false; }
    std::shared_ptr<zn::native::Context> createContext(zn::native::Window&, int) override {
        return nullptr;
    }
    bool makeCurrent(zn::native::Window&, zn::native::Context&) override { return false; }
    bool releaseCurrent() override { return false; }
    bool isCurrent(zn::native::Context&) override { return false; }
    bool deleteContext(zn::native::Context&) override { return false; }
    bool swapBuffers(zn::native::Window&) override { return false; }
    PROC procAddress(const char*) override { return nullptr; }
    std::shared_ptr<zn::native::Font> createFont(const zn::native::FontRequest&) override {
        return nullptr;
    }
    bool useFontBitmaps(zn::native::Font*, DWORD, DWORD, DWORD) override { return false; }
    int messageBox(HWND, const char*, const char*, UINT) override { return 0; }
    void diagnose(const char* call, const std::string& why) override {
        std::fprintf(stderr, "znVelmora test: %s: %s\n", call, why.c_str());
    }
};

} // namespace

zn::native::Backend& zn::native::backend() {
    static StubBackend stub;
    return stub;
}
