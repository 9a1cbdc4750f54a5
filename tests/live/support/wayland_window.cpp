// The live tests' windows on Wayland: each a sub-surface of one full-screen window of the test's
// own, at a place of its own on the output, so that a screenshot shows where it is. The library
// draws on the full-screen window's connection, which the test hands over.
#include <EGL/egl.h>
#include <wayland-client.h>

#include <memory>
#include <mutex>
#include <stdexcept>

#include "Desk.h"
#include "LiveWindow.h"

namespace {

// Where the windows alive at once go on the 1024x768 output; each fits a quarter of it.
const int kPlaces[][2] = {{8, 8}, {520, 8}, {8, 392}, {520, 392}};
const int kPlaceCount = 4;
const int kPlaceWidth = 504, kPlaceHeight = 368;

// The desk the library draws on, and which of its places are taken.
struct Places {
    Places() : desk("znVelmora live tests") { znSetWaylandDisplay(desk.window.display()); }
    Desk desk;
    bool taken[kPlaceCount] = {};
    std::mutex mutex; // places are taken and given back from the tests' threads
};

Places& places() {
    static Places* const made = new Places();
    return *made;
}

} // namespace

struct LiveWindow::System {
    std::unique_ptr<DeskSurface> window;
    int place = -1;
};

LiveWindow::LiveWindow(int width, int height, DeviceContexts)
    : system(new System), width_(width), height_(height) {
    if (width > kPlaceWidth || height > kPlaceHeight)
        throw std::runtime_error("a live window larger than a quarter of the output");
    Places& on = places();
    {
        std::lock_guard<std::mutex> lock(on.mutex);
        for (int i = 0; i < kPlaceCount && system->place < 0; ++i)
            if (!on.taken[i])
                on.taken[system->place = i] = true;
    }
    if (system->place < 0)
        throw std::runtime_error("more live windows at once than the output holds");
    system->window = std::make_unique<DeskSurface>(on.desk, kPlaces[system->place][0],
                                                   kPlaces[system->place][1]);
    znSetWaylandWindowSize(handle(), width, height);
}

LiveWindow::~LiveWindow() {
    system->window.reset();
    Places& on = places();
    std::lock_guard<std::mutex> lock(on.mutex);
    on.taken[system->place] = false;
}

HWND LiveWindow::handle() const {
    return reinterpret_cast<HWND>(system->window->surface());
}

bool LiveWindow::destroy() {
    return false;
}

void LiveWindow::pump() {
    places().desk.window.dispatchPending();
}

std::vector<unsigned char> LiveWindow::capture() {
    int width = 0, height = 0;
    const std::vector<uint32_t> shot = places().desk.window.screenshot(width, height);
    std::vector<unsigned char> rgb;
    rgb.reserve(size_t(width_) * height_ * 3);
    const int left = kPlaces[system->place][0], top = kPlaces[system->place][1];
    for (int y = top; y < top + height_ && y < height; ++y)
        for (int x = left; x < left + width_ && x < width; ++x) {
            const uint32_t pixel = shot[size_t(y) * width + x];
            rgb.insert(rgb.end(),
                       {static_cast<unsigned char>(pixel >> 16),
                        static_cast<unsigned char>(pixel >> 8), static_cast<unsigned char>(pixel)});
        }
    return rgb;
}

bool anyContextCurrent() {
    eglBindAPI(EGL_OPENGL_API);
    return eglGetCurrentContext() != EGL_NO_CONTEXT;
}

bool runningUnderWine() {
    return false;
}
