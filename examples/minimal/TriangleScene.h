// What the small example hosts share: a scene with one turning triangle, and their command line
// (an optional number of frames to draw before quitting, for unattended runs).
#pragma once

#include <cstdio>
#include <cstdlib>

#include "znVelmora.h"

class TriangleScene : public znRenderEnv {
  public:
    int width = 0;
    int height = 0;
    int frames = 0;

    void prepareEnvironment() override {}
    void initEnvironment() override { glClearColor(0.1f, 0.1f, 0.25f, 1.0f); }
    void syncEnvironment() override {}
    void animateEnvironment(float seconds) override { angle += 90.0f * seconds; }
    void renderEnvironment() override {
        glViewport(0, 0, width, height);
        glRotatef(angle, 0.0f, 0.0f, 1.0f);
        glBegin(GL_TRIANGLES);
        glColor3f(1.0f, 0.3f, 0.2f);
        glVertex2f(-0.6f, -0.5f);
        glColor3f(0.2f, 1.0f, 0.3f);
        glVertex2f(0.6f, -0.5f);
        glColor3f(0.3f, 0.4f, 1.0f);
        glVertex2f(0.0f, 0.6f);
        glEnd();
        ++frames;
    }
    void destroyEnvironment() override {}

  private:
    float angle = 0.0f;
};

// `program [FRAMES]`: 0 (no argument) runs until the window is closed. False, with a message,
// for anything but a whole number from 1 to 1000000.
inline bool readFrameLimit(int argc, char** argv, int& limit) {
    limit = 0;
    if (argc == 1)
        return true;
    char* end = nullptr;
    const long value = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc == 2 && *argv[1] && !*end && value >= 1 && value <= 1000000) {
        limit = int(value);
        return true;
    }
    std::fprintf(stderr, "usage: %s [FRAMES]  (a whole number from 1 to 1000000)\n", argv[0]);
    return false;
}
