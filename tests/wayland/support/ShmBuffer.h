// A wl_buffer over shared memory of the caller's size, in 32-bit pixels (0xAARRGGBB for
// WL_SHM_FORMAT_ARGB8888 and XRGB8888, in native byte order as wl_shm defines them).
#pragma once

#include <cstdint>

#include <wayland-client.h>

class ShmBuffer {
  public:
    // Throws std::runtime_error when the memory cannot be made or mapped.
    ShmBuffer(wl_shm* shm, int width, int height, uint32_t format);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return buffer_; }
    uint32_t* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void fill(uint32_t pixel);

  private:
    int width_;
    int height_;
    uint32_t* pixels_ = nullptr;
    wl_buffer* buffer_ = nullptr;
};
