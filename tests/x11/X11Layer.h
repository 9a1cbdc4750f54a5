// The layer's calls against a real X server and GLX: a fixture that makes windows the way a
// host makes them and binds the library's pixel format and a context to them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <unistd.h>

#include "BoundContext.h"
#include "context/pixelFormatRequest.h"
#include "platform/x11/x11_platform.h"

// True once the condition holds, asked for up to a second.
template <class Condition> bool eventually(Condition condition) {
    for (int tries = 0; tries < 200; ++tries) {
        if (condition())
            return true;
        usleep(5000);
    }
    return false;
}

inline HWND hwnd(Window window) {
    return reinterpret_cast<HWND>(uintptr_t(window));
}

class X11Layer : public testing::Test {
  protected:
    static void SetUpTestSuite() { host = XOpenDisplay(nullptr); }
    void SetUp() override {
        if (!host)
            GTEST_SKIP() << "no X display";
    }

    // A window of the default visual, as a host makes it.
    static Window newWindow() {
        XSetWindowAttributes attributes = {};
        Window window = XCreateWindow(host, DefaultRootWindow(host), 0, 0, 64, 32, 0,
                                      CopyFromParent, InputOutput, CopyFromParent, 0, &attributes);
        XMapWindow(host, window);
        XSync(host, False);
        return window;
    }

    // A host's window bound as a render context binds it.
    struct Bound : BoundContext {
        Window window;
    };
    static Bound bind() {
        const Window window = newWindow();
        return {bindContext(hwnd(window)), window};
    }
    static void unbind(const Bound& bound) {
        releaseContext(hwnd(bound.window), bound);
        XDestroyWindow(host, bound.window);
    }

    inline static Display* host = nullptr;
};
