// What both peer programs do once their library made the window and its context current: the
// ring's frame unpaced, as the library's frame draws it (without the overlay), timed after
// half a second of warm-up frames. Prints frames per second.
#pragma once

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ring.h"

// --seconds S (1 by default)
inline double peerSeconds(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0)
            return std::atof(argv[i + 1]);
    return 1.0;
}

template <class Swap> void runPeerLoop(double seconds, int width, int height, Swap swap) {
    using Clock = std::chrono::steady_clock;
    const Ring ring;
    glClearColor(0.3f, 0.1f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    ring.prepare();
    float angle = 0.0f;
    Clock::time_point last = Clock::now();
    auto frame = [&] {
        const Clock::time_point now = Clock::now();
        angle += 30.0f * std::chrono::duration<float>(now - last).count();
        last = now;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        ring.draw(angle, width, height);
        glFinish();
        swap();
    };
    // A fresh process compiles the driver's pipelines over its first frames: half a second of
    // frames keeps that out of the rate, as the benchmark's own loops are long warm.
    for (const Clock::time_point warm = Clock::now();
         std::chrono::duration<double>(Clock::now() - warm).count() < 0.5;)
        frame();
    long frames = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0.0;
    for (; elapsed < seconds;
         elapsed = std::chrono::duration<double>(Clock::now() - start).count()) {
        frame();
        ++frames;
    }
    std::printf("%.2f\n", frames / elapsed);
}
