// The platform seam's conformance suite: what Windows promises of each call the library makes,
// stated once and built against every platform that answers those calls (the recording
// platform, the x11 layer and Windows itself, run under Wine here).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "BoundContext.h"
#include "context/pixelFormatRequest.h"
#include "platform/win32api.h"

// A top-level window of the test's own, shown, whose device contexts are common ones (taken
// from and given back to the system's cache), as a host's plain window has.
class SeamWindow {
  public:
    SeamWindow();
    ~SeamWindow();
    SeamWindow(const SeamWindow&) = delete;
    SeamWindow& operator=(const SeamWindow&) = delete;

    HWND handle() const;
    // Destroys the window; false where the platform has no windows to destroy (record).
    bool destroy();

  private:
    struct System;
    std::unique_ptr<System> system;
};

namespace seam {

// Brings the platform back to its starting state between tests.
void resetPlatform();
// True when the Windows calls are answered by Wine rather than by Windows.
bool onWine();

} // namespace seam

class Seam : public testing::Test {
  protected:
    void SetUp() override { seam::resetPlatform(); }
};

// A window of its own bound as a render context binds it; everything is given back at the end.
class BoundWindow : public BoundContext {
  public:
    // Bound in the body, once the window (a member, built after the base) is there.
    BoundWindow() : BoundContext() { BoundContext::operator=(bindContext(window.handle())); }
    ~BoundWindow() { releaseContext(window.handle(), *this); }
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    SeamWindow window;
};

// A format other than `format` that can draw OpenGL into a window; 0 when there is none.
int anotherWindowFormat(HDC dc, int format);
