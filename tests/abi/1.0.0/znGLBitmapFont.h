// Single lines of text drawn as display-list bitmaps into the current rendering context.
#pragma once

#include "znPlatform.h"

// Turns a GDI font into 96 consecutive display lists, one per character code 32 to 127. Every
// call needs a current rendering context; the lists are freed only by clearFont, never by the
// destructor. Copies share the lists and the device context of their source.
class ZN_API znGLBitmapFont {
  public:
    znGLBitmapFont();
    znGLBitmapFont(const znGLBitmapFont& other);
    znGLBitmapFont& operator=(const znGLBitmapFont& other);
    virtual ~znGLBitmapFont();

    // Builds the glyphs of the named face (a null face counts as an empty name). Weights outside
    // 1..900 become 400. Leaves no lists behind when the font cannot be made; an earlier block
    // is not freed here (call clearFont first).
    void createFont(const char* face, int height, int weight, bool italic, bool underline);
    // In place: at (x, y, z) under the caller's matrices and state, leaving the colour current.
    // Otherwise as an overlay: x and y from -1.1 to 1.1 span the current viewport; every
    // attribute and the projection are restored, the model-view matrix is left as a translation
    // by (0, 0, -0.1).
    void printString(const char* text, float x, float y, float z, float r, float g, float b,
                     bool inPlace);
    // As an overlay at (x, y).
    void printString(const char* text, float x, float y, float r, float g, float b);
    // Deletes the lists; the font keeps their name, so print calls then draw nothing.
    void clearFont();
    // The device context the next createFont builds the glyphs in; null takes the current one.
    void setDeviceContextManual(HDC dc);

  private:
    void printOverlay(const char* text, float x, float y, float z, float r, float g, float b,
                      bool withZ);
    void callLists(const char* text);

    GLuint listBase;
    HDC deviceContext;
};
