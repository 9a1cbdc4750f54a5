// Glyph display lists by hand, as the library compiles them where the window system has no fonts
// of its own (Wayland): FreeType's one-bit images of the face fontconfig matches, one glBitmap a
// list.
#pragma once

#include <GL/gl.h>

// Builds the 96 lists of characters 32 to 127 of the face fontconfig matches to `pattern` (such
// as "Arial:weight=bold:slant=italic") at `pixelSize`, in the context current now. Answers the
// first list, or 0 (nothing left behind) when no face opens or a glyph does not rasterise.
GLuint buildGlyphLists(const char* pattern, int pixelSize);
