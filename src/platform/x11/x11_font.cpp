// Fonts as X core fonts, and their glyphs' display lists through glXUseXFont.
#include <climits>

#include <X11/Xatom.h>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

std::vector<std::string> listFonts(Display* display, const std::string& pattern) {
    int count = 0;
    char** names = XListFonts(display, pattern.c_str(), 1000, &count);
    std::vector<std::string> listed(names, names + (names ? count : 0));
    if (names)
        XFreeFontNames(names);
    return listed;
}

// The full name the server gave the font, which a pattern or an alias only points at.
std::string resolvedName(Display* display, XFontStruct* info, const std::string& asked) {
    unsigned long atom = 0;
    if (!XGetFontProperty(info, XA_FONT, &atom))
        return asked;
    char* name = XGetAtomName(display, static_cast<Atom>(atom));
    const std::string resolved = name ? name : asked;
    if (name)
        XFree(name);
    return resolved;
}

// Loads what a pattern names at the request's size; null when the server has no such font.
std::shared_ptr<X11Font> load(const std::shared_ptr<Connection>& connection,
                              const std::string& pattern, int pixelSize) {
    Display* display = connection->display;
    const bool wildcard = pattern.find('*') != std::string::npos;
    const std::string name =
        wildcard ? chooseFontName(listFonts(display, pattern), pixelSize) : pattern;
    XFontStruct* info = name.empty() ? nullptr : XLoadQueryFont(display, name.c_str());
    if (!info)
        return nullptr;
    return std::make_shared<X11Font>(connection, info, resolvedName(display, info, name));
}

// Glyph lists are GLuint names, but glXUseXFont takes ints.
bool fitsInt(DWORD first, DWORD count, DWORD listBase) {
    return first <= INT_MAX && count <= INT_MAX && listBase > 0 &&
           static_cast<unsigned long long>(listBase) + count <= 1ULL + INT_MAX;
}

// The glyph of a character as glXUseXFont measures it: null for one the font does not have.
const XCharStruct* glyphOf(const XFontStruct* info, unsigned int c) {
    const unsigned int row = c >> 8, column = c & 0xFF;
    const unsigned int columns = info->max_char_or_byte2 - info->min_char_or_byte2 + 1;
    const bool linear = info->min_byte1 == info->max_byte1; // one row: indexed by code alone
    const unsigned int index = linear ? c : column;
    if (index < info->min_char_or_byte2 || index > info->max_char_or_byte2)
        return nullptr;
    if (!linear && (row < info->min_byte1 || row > info->max_byte1))
        return nullptr;
    if (!info->per_char)
        return &info->min_bounds;
    const unsigned int rowOffset = linear ? 0 : (row - info->min_byte1) * columns;
    return &info->per_char[rowOffset + index - info->min_char_or_byte2];
}

// NOTE: Mesa's glXUseXFont compiles a glyph without ink (the blank of "fixed", whose bitmap is 0
// by 0 pixels) as glBitmap with a null image, which Mesa's display lists refuse with
// GL_OUT_OF_MEMORY: the list stays empty and the glyph does not advance, so text loses its
// spaces. Such glyphs are compiled again with an empty image that does advance.
void compileBlankGlyphs(const XFontStruct* info, int first, int count, int listBase) {
    static const GLubyte kNoImage = 0;
    for (int i = 0; i < count; ++i) {
        const XCharStruct* glyph = glyphOf(info, static_cast<unsigned int>(first + i));
        const XCharStruct& metrics = glyph ? *glyph : info->max_bounds;
        if (glyph && metrics.rbearing > metrics.lbearing && metrics.ascent + metrics.descent > 0)
            continue;
        glNewList(static_cast<GLuint>(listBase + i), GL_COMPILE);
        glBitmap(0, 0, 0.0f, 0.0f, metrics.width, 0.0f, &kNoImage);
        glEndList();
    }
}

} // namespace

X11Font::~X11Font() {
    XFreeFont(connection->display, info);
}

std::shared_ptr<native::Font> GlxBackend::createFont(const native::FontRequest& asked) {
    std::shared_ptr<Connection> on = connection();
    if (!on)
        return nullptr;
    const FontRequest request =
        fontRequest(asked.height, asked.weight, asked.italic, asked.charSet, asked.face);
    ErrorTrap trap(on->display);
    for (const std::string& pattern : xlfdCandidates(request))
        if (std::shared_ptr<X11Font> font = load(on, pattern, request.pixelSize))
            return font;
    return nullptr;
}

bool GlxBackend::useFontBitmaps(native::Font* font, DWORD first, DWORD count, DWORD listBase) {
    Display* current = glXGetCurrentDisplay();
    if (!current || !fitsInt(first, count, listBase))
        return false;
    ErrorTrap trap(current);
    // The system font has no X font of its own: its stand-in is loaded for the call.
    XFontStruct* standIn = font ? nullptr : XLoadQueryFont(current, "fixed");
    if (!standIn && !font)
        return false;
    const XFontStruct* info = standIn ? standIn : static_cast<X11Font*>(font)->info;
    glXUseXFont(info->fid, static_cast<int>(first), static_cast<int>(count),
                static_cast<int>(listBase));
    const bool failed = trap.failed();
    if (!failed)
        compileBlankGlyphs(info, static_cast<int>(first), static_cast<int>(count),
                           static_cast<int>(listBase));
    // The GL_OUT_OF_MEMORY that glXUseXFont left for its blank glyphs (above) is no failure of
    // this call, and Windows leaves no error behind: none is left for the host's next glGetError.
    for (int drained = 0; drained < 16 && glGetError() != GL_NO_ERROR; ++drained) {
    }
    if (standIn)
        XFreeFont(current, standIn);
    if (failed)
        x11::diagnose("wglUseFontBitmapsA", trap.why());
    return !failed;
}

} // namespace zn::x11
