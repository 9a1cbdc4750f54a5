// A small host written against an installed znVelmora, the way an application uses it: the
// library's version checked against the headers' (the same major version, no older), its own
// window, a manager and a font held inside its own object and a render context of a class of its
// own, a scene driven for a few frames, tear-down, and a failure of that render context caught
// by type across the library's boundary. Built against the headers of an earlier release too,
// where nothing the library does may write outside the bytes those headers gave its objects.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "znVelmora.h"

#ifdef _WIN32

HWND openWindow(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "znVelmoraHost";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("znVelmoraHost", "znVelmora host", WS_POPUP | WS_VISIBLE, 0, 0,
                                width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    return window;
}

void pumpEvents() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// The loaded DLL's version resource, as installers read it.
bool versionResourceMatches() {
    char path[MAX_PATH];
    if (!GetModuleFileNameA(GetModuleHandleA("znVelmora.dll"), path, MAX_PATH))
        return false;
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(path, &ignored));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    return !data.empty() && GetFileVersionInfoA(path, 0, DWORD(data.size()), data.data()) &&
           VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) &&
           HIWORD(info->dwFileVersionMS) == ZNVELMORA_VERSION_MAJOR &&
           LOWORD(info->dwFileVersionMS) == ZNVELMORA_VERSION_MINOR &&
           HIWORD(info->dwFileVersionLS) == ZNVELMORA_VERSION_PATCH;
}

#else

#include <X11/Xlib.h>

Display* display = nullptr;

HWND openWindow(int width, int height) {
    display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    return reinterpret_cast<HWND>(uintptr_t(window));
}

void pumpEvents() {
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// A shared library carries its major version in its SONAME, which the install test checks.
bool versionResourceMatches() {
    return true;
}

#endif

class Scene : public znRenderEnv {
  public:
    int frames = 0;
    void prepareEnvironment() override {}
    void initEnvironment() override {}
    void syncEnvironment() override {}
    void animateEnvironment(float) override {}
    void renderEnvironment() override {
        glViewport(0, 0, 160, 120);
        ++frames;
    }
    void destroyEnvironment() override {}
};

// The host's own data on both sides of the library's objects, and after a render context's
// base part in a class of its own.
const std::uint32_t kGuard = 0x5a5a5a5a;

struct Embedded {
    Embedded(HWND window, znRenderEnv* scene) : manager(window, scene) {}
    std::uint32_t before = kGuard;
    znVelmora manager;
    znGLBitmapFont font;
    std::uint32_t after = kGuard;
};

class HostContext : public znRenderContext {
  public:
    using znRenderContext::znRenderContext;
    std::uint32_t own = kGuard;
};

int main() {
    int major = 0, minor = 0, patch = 0;
    znGetVersion(&major, &minor, &patch);
    const bool notOlder = minor > ZNVELMORA_VERSION_MINOR ||
                          (minor == ZNVELMORA_VERSION_MINOR && patch >= ZNVELMORA_VERSION_PATCH);
    if (major != ZNVELMORA_VERSION_MAJOR || !notOlder || !versionResourceMatches()) {
        std::fprintf(stderr, "host: built with znVelmora %s, running with %s\n",
                     ZNVELMORA_VERSION_STRING, znGetVersionString());
        return 1;
    }
    std::printf("host: znVelmora %s\n", znGetVersionString());

    HWND window = openWindow(160, 120);
    if (!window) {
        std::fprintf(stderr, "host: no window\n");
        return 1;
    }
    Scene scene;
    Embedded held(window, &scene);
    znVelmora& manager = held.manager;
    manager.setWindowSize(0, 0, 160, 120);
    manager.initializeOpenGL();
    if (!manager.getGLRenderer()) {
        std::fprintf(stderr, "host: start-up failed\n");
        return 1;
    }
    while (scene.frames < 5) {
        manager.enterRenderLoop();
        manager.renderFunc();
        pumpEvents();
    }
    std::printf("host: %d frames with %s\n", scene.frames, manager.getGLRenderer());
    manager.destroyOpenGL();

    HostContext context(window);
    context.initRenderContext();
    held.font.createFont("Arial", 12, 400, false, false);
    held.font.printString("host", -1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    held.font.clearFont();
    context.destroyRenderContext();
    if (held.before != kGuard || held.after != kGuard || context.own != kGuard) {
        std::fprintf(stderr, "host: the library wrote outside its objects\n");
        return 1;
    }
    try {
        context.makeCurrent();
    } catch (znExceptionHolder<znContextException>& failure) {
        std::printf("host: caught context failure %d\n", failure.exception.code);
        return failure.exception.code == 5 ? 0 : 1;
    }
    std::fprintf(stderr, "host: making a deleted context current did not fail\n");
    return 1;
}
