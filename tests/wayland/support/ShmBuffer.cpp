#include "ShmBuffer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {
std::runtime_error systemError(const char* what) {
    return std::runtime_error(std::string("ShmBuffer: ") + what + ": " + std::strerror(errno));
}

size_t byteSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        throw std::runtime_error("ShmBuffer: size out of range: " + std::to_string(width) + "x" +
                                 std::to_string(height));
    return size_t(width) * size_t(height) * 4;
}
} // namespace

ShmBuffer::ShmBuffer(wl_shm* shm, int width, int height, uint32_t format)
    : width_(width), height_(height) {
    const size_t size = byteSize(width, height);
    const int fd = memfd_create("zn-shm-buffer", MFD_CLOEXEC);
    if (fd < 0)
        throw systemError("memfd_create");
    if (ftruncate(fd, off_t(size)) != 0) {
        close(fd);
        throw systemError("ftruncate");
    }
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        throw systemError("mmap");
    }
    pixels_ = static_cast<uint32_t*>(memory);
    // The compositor maps the memory from the descriptor it is sent, so ours can go at once.
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(size));
    buffer_ = wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, format);
    wl_shm_pool_destroy(pool);
    close(fd);
}

ShmBuffer::~ShmBuffer() {
    wl_buffer_destroy(buffer_);
    munmap(pixels_, byteSize(width_, height_));
}

void ShmBuffer::fill(uint32_t pixel) {
    std::fill_n(pixels_, size_t(width_) * size_t(height_), pixel);
}
