// The library's frame around the ring, twice: as the scene a manager draws, and by hand, making
// the GL calls renderFunc makes, for the frame benchmarks' hand-written loops. Only the window
// system's part (the context and its glyph lists, the swap) is left to each loop.
#pragma once

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "ring.h"
#include "znVelmora.h"

class RingScene : public znRenderEnv {
  public:
    RingScene(const Ring& ring, int width, int height) : ring(ring), width(width), height(height) {}
    void prepareEnvironment() override { ring.prepare(); }
    void initEnvironment() override {}
    void syncEnvironment() override {}
    void animateEnvironment(float seconds) override { angle += 30.0f * seconds; }
    void renderEnvironment() override {
        ring.draw(angle, width, height);
        ++frames;
    }
    void destroyEnvironment() override {}

    long frames = 0;

  private:
    const Ring& ring;
    int width, height;
    float angle = 0.0f;
};

// renderFunc's frame up to the swap: the clear, the scene, the overlay's text refreshed on every
// 11th frame and drawn from glyph lists, and glFinish.
class HandFrame {
  public:
    HandFrame(const Ring& ring, int width, int height) : ring(ring), width(width), height(height) {}

    // In the context current now, with the overlay's glyphs in lists listBase... from character
    // 32 on: the state the library's start-up leaves, then the scene's own.
    void start(GLuint listBase) {
        base = listBase;
        glClearColor(0.3f, 0.1f, 0.0f, 0.0f);
        glEnable(GL_DEPTH_TEST);
        ring.prepare();
        last = Clock::now();
    }

    void draw() {
        const Clock::time_point now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        angle += 30.0f * static_cast<float>(seconds);
        ring.draw(angle, width, height);
        if (++refresh > 10) {
            refresh = 0;
            std::snprintf(text, sizeof text, "%.2f Frames/sec", seconds > 0 ? 1.0 / seconds : 0.0);
        }
        glViewport(0, height - 45, 50, 40);
        overlay();
        glFinish();
    }

  private:
    using Clock = std::chrono::steady_clock;

    // The overlay's calls, as the library's font makes them: one attribute push around it all
    // (it saves the list base too).
    void overlay() {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-1.1, 1.1, -1.1, 1.1, 0.1, 10.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(0.0f, 1.0f, 1.0f);
        glTranslatef(0.0f, 0.0f, -0.1f);
        glRasterPos2f(-0.65f, 0.42f);
        glListBase(base - 32);
        glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glPopAttrib();
    }

    const Ring& ring;
    int width, height;
    GLuint base = 0;
    Clock::time_point last;
    float angle = 0.0f;
    int refresh = 10;
    char text[32] = "";
};
