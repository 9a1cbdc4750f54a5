// Fonts: made by the back-end, selected into device contexts, deleted once no device context
// has them selected; the stock font is never deleted.
#include "platform/rules/state.h"

namespace zn::rules {

namespace {

const HGDIOBJ kStockFont = reinterpret_cast<HGDIOBJ>(0x3000);

bool isFont(HGDIOBJ object) {
    return object == kStockFont || state().fonts.find(object) != nullptr;
}

bool isSelectedAnywhere(HGDIOBJ object) {
    return state().deviceContexts.any(
        [object](const DeviceContext& dc) { return dc.font == object; });
}

} // namespace

HGDIOBJ stockFont() {
    return kStockFont;
}

std::shared_ptr<native::Font> fontOf(HGDIOBJ font) {
    return font && font != kStockFont ? state().fonts.find(font) : nullptr;
}

int liveFonts() {
    return state().fonts.size();
}

HFONT createFont(const native::FontRequest& request) {
    std::shared_ptr<native::Font> font = native::backend().createFont(request);
    return font ? state().fonts.add<HFONT>(std::move(font)) : nullptr;
}

HGDIOBJ selectObject(HDC dc, HGDIOBJ object) {
    std::shared_ptr<DeviceContext> held = findDC(dc);
    if (!held || !isFont(object))
        return nullptr;
    return held->font.exchange(object);
}

BOOL deleteObject(HGDIOBJ object) {
    // Stock objects are never deleted, and asking does no harm.
    if (object == kStockFont)
        return TRUE;
    // GDI refuses to delete an object that a device context still has selected.
    if (!isFont(object) || isSelectedAnywhere(object))
        return FALSE;
    // The font goes with the last reference: a thread drawing with it keeps it meanwhile.
    return state().fonts.remove(object) ? TRUE : FALSE;
}

} // namespace zn::rules
