// The bitmap font behind the C interface.
#include "capi/boundary.h"
#include "znGLBitmapFont.h"

struct znvFont {
    znGLBitmapFont font;
};

namespace {

// Runs an operation on the font; null handles are refused.
template <class Operation> znvResult onFont(znvFont* font, Operation operation) {
    return zn::c::onHeld(font, &znvFont::font, operation);
}

} // namespace

znvResult ZNCALL znvFont_create(znvFont** font) {
    return zn::c::create(font);
}

znvResult ZNCALL znvFont_destroy(znvFont* font) {
    return onFont(font, [&](znGLBitmapFont&) { delete font; });
}

znvResult ZNCALL znvFont_createFont(znvFont* font, const char* face, int height, int weight,
                                    int italic, int underline) {
    return onFont(font, [&](znGLBitmapFont& f) {
        f.createFont(face, height, weight, italic != 0, underline != 0);
    });
}

znvResult ZNCALL znvFont_printString(znvFont* font, const char* text, float x, float y, float z,
                                     float r, float g, float b, int inPlace) {
    return onFont(font,
                  [&](znGLBitmapFont& f) { f.printString(text, x, y, z, r, g, b, inPlace != 0); });
}

znvResult ZNCALL znvFont_printOverlay(znvFont* font, const char* text, float x, float y, float r,
                                      float g, float b) {
    return onFont(font, [&](znGLBitmapFont& f) { f.printString(text, x, y, r, g, b); });
}

znvResult ZNCALL znvFont_clearFont(znvFont* font) {
    return onFont(font, [](znGLBitmapFont& f) { f.clearFont(); });
}

znvResult ZNCALL znvFont_setDeviceContextManual(znvFont* font, void* dc) {
    return onFont(font, [&](znGLBitmapFont& f) { f.setDeviceContextManual(static_cast<HDC>(dc)); });
}
