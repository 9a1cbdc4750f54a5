// Fonts: Wayland has no fonts of its own, so glyphs are rasterised with FreeType from the face
// fontconfig finds, sized and weighted as the X11 back-end reads a request.
#include "platform/freetype/ft_font.h"
#include "platform/wayland/wayland_platform.h"

namespace zn::wayland {

std::shared_ptr<native::Font> WaylandBackend::createFont(const native::FontRequest& request) {
    return freetype::createFont(request);
}

bool WaylandBackend::useFontBitmaps(native::Font* font, DWORD first, DWORD count, DWORD listBase) {
    return freetype::useFontBitmaps(font, first, count, listBase);
}

} // namespace zn::wayland
