// The host's scene, as the render manager sees it.
#pragma once

#include "znPlatform.h"

// Derive from this and hand the render manager a pointer; the manager only calls it, always on
// the thread that calls the manager, and the environment outlives the manager.
class ZN_API znRenderEnv {
  public:
    znRenderEnv() {}
    znRenderEnv(const znRenderEnv&) {}
    znRenderEnv& operator=(const znRenderEnv&) { return *this; }
    virtual ~znRenderEnv() {}

    // Once, at start-up, right after prepareEnvironment.
    virtual void initEnvironment() = 0;
    // Once, first thing at tear-down, while the rendering context is still current.
    virtual void destroyEnvironment() = 0;
    // From enterRenderLoop whenever the content was marked modified (always on its first call).
    virtual void syncEnvironment() = 0;
    // Each rendered frame, after the buffers are cleared and the model-view matrix is reset;
    // elapsedSeconds is the time since the previous rendered frame or the last timer reset.
    virtual void animateEnvironment(float elapsedSeconds) = 0;
    // Each rendered frame, right after animateEnvironment. Sets its own viewport and projection.
    virtual void renderEnvironment() = 0;
    // Once, at start-up, after the context is current and the overlay font is built.
    virtual void prepareEnvironment() = 0;
};
