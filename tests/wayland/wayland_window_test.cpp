// The test window and its screenshots on the compositor scripts/with-weston.sh starts: what a
// window shows must be what the screenshot reads, in place and the right way up, or the tests of
// Wayland hosts built on them prove nothing.
#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>
#include <wayland-client.h>

#include "ScopedVariable.h"
#include "ShmBuffer.h"
#include "WaylandWindow.h"

namespace {
constexpr uint32_t red = 0xffff0000;
constexpr uint32_t blue = 0xff0000ff;

// The colour of a pixel, whatever its alpha byte (the output has none).
uint32_t rgb(uint32_t pixel) {
    return pixel & 0x00ffffff;
}

// Shows a buffer of the window's size, its top half red and its bottom half blue.
void showHalves(WaylandWindow& window, ShmBuffer& buffer) {
    const int half = buffer.height() / 2;
    buffer.fill(blue);
    std::fill_n(buffer.pixels(), size_t(buffer.width()) * size_t(half), red);
    wl_surface_attach(window.surface(), buffer.buffer(), 0, 0);
    wl_surface_damage(window.surface(), 0, 0, buffer.width(), buffer.height());
    wl_surface_commit(window.surface());
    window.roundtrip();
}

int countColour(const std::vector<uint32_t>& pixels, uint32_t colour) {
    int count = 0;
    for (uint32_t pixel : pixels)
        count += rgb(pixel) == rgb(colour);
    return count;
}
} // namespace

TEST(WaylandWindow, FullscreenToplevelIsConfiguredToTheOutputSize) {
    WaylandWindow window("wayland_window_test");
    int width = 0;
    int height = 0;
    window.screenshot(width, height);
    EXPECT_EQ(window.width(), width);
    EXPECT_EQ(window.height(), height);
    EXPECT_NE(window.surface(), nullptr);
}

TEST(WaylandWindow, ScreenshotReadsTheShownBufferInPlaceTopRowFirst) {
    WaylandWindow window("wayland_window_test");
    ShmBuffer buffer(window.shm(), window.width(), window.height(), WL_SHM_FORMAT_XRGB8888);
    showHalves(window, buffer);
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> shot = window.screenshot(width, height);
    ASSERT_EQ(width, window.width());
    ASSERT_EQ(height, window.height());
    ASSERT_EQ(shot.size(), size_t(width) * size_t(height));
    EXPECT_EQ(rgb(shot.front()), rgb(red));
    EXPECT_EQ(rgb(shot[size_t(width) * size_t(height / 2 - 1) + size_t(width - 1)]), rgb(red));
    EXPECT_EQ(rgb(shot[size_t(width) * size_t(height / 2)]), rgb(blue));
    EXPECT_EQ(rgb(shot.back()), rgb(blue));
    EXPECT_EQ(countColour(shot, red) + countColour(shot, blue), width * height);
}

TEST(WaylandWindow, DestroyedSurfaceLeavesTheOutputAndTheConnectionUsable) {
    WaylandWindow window("wayland_window_test");
    ShmBuffer buffer(window.shm(), window.width(), window.height(), WL_SHM_FORMAT_XRGB8888);
    showHalves(window, buffer);
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> shown = window.screenshot(width, height);
    ASSERT_EQ(countColour(shown, red), width * (height / 2));
    window.destroySurface();
    window.roundtrip();
    EXPECT_EQ(window.surface(), nullptr);
    // A second shot on the same screenshooter: the first's answer must not be taken for it.
    EXPECT_EQ(countColour(window.screenshot(width, height), red), 0);
    window.dispatchPending();
}

TEST(WaylandWindow, WindowOnTheCallersConnectionLeavesItOpen) {
    wl_display* display = wl_display_connect(nullptr);
    ASSERT_NE(display, nullptr);
    {
        WaylandWindow window(display, "wayland_window_test");
        EXPECT_EQ(window.display(), display);
        EXPECT_GT(window.width(), 0);
    }
    EXPECT_GE(wl_display_roundtrip(display), 0);
    wl_display_disconnect(display);
}

TEST(WaylandWindow, MissingCompositorThrows) {
    ScopedVariable display("WAYLAND_DISPLAY", "zn-no-such-compositor");
    EXPECT_THROW(WaylandWindow("wayland_window_test"), std::runtime_error);
}
