// The demo as a host of the render manager: window, scene, frame loop and input.
#pragma once

#include <string>

#include "options.h"

struct RunSummary {
    long frames = 0;
    double seconds = 0;
    unsigned int targetRate = 0;
    bool precisePacing = false;
    std::string driver;
    std::string renderer;
};

// Runs the scene in a window of its own until the options' limits or the user end the run, then
// writes the screenshot the options ask for. Throws std::runtime_error when the window system or
// OpenGL cannot be used or the screenshot cannot be written.
RunSummary runDemo(const DemoOptions& options);
