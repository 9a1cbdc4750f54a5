// The demo's scene: a lit, rotating model with a caption, drawn by the render manager's frames.
#pragma once

#include <vector>

#include "meshes.h"
#include "znGLBitmapFont.h"
#include "znRenderEnv.h"

class DemoScene : public znRenderEnv {
  public:
    DemoScene(int width, int height);

    // The drawing area the scene's viewport covers.
    void resize(int width, int height);
    // Chooses the next model; the vertex data follows at the next sync, so the host marks the
    // render content modified.
    void switchModel();
    // Shown in the caption.
    void setTargetRate(unsigned int fps);
    long framesRendered() const { return frames; }

    void prepareEnvironment() override;
    void initEnvironment() override;
    void syncEnvironment() override;
    void animateEnvironment(float elapsedSeconds) override;
    void renderEnvironment() override;
    void destroyEnvironment() override;

  private:
    void setUpCamera();
    void drawModel();
    void drawCaption();

    int width;
    int height;
    Model model = Model::torus;
    std::vector<Vertex> vertices;
    bool useBuffer = false;
    unsigned int buffer = 0;
    GLsizei vertexCount = 0;
    znGLBitmapFont captionFont;
    unsigned int targetRate = 0;
    float angle = 0;
    long frames = 0;
};
