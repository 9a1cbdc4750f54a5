// What a render manager holds, behind the one pointer in znVelmora: a later release adds here
// without moving anything in the objects hosts make.
#pragma once

#include <string>
#include <vector>

#include "znVelmora.h"

class znFramePacer;

struct znVelmora::State {
    State(znRenderContext* context, znRenderEnv* environment)
        : renderContext(context), renderEnv(environment) {}

    // The drawing area; the overlay is placed from windowY + windowHeight.
    int windowX = 0;
    int windowY = 0;
    int windowWidth = 1;
    int windowHeight = 1;
    // The driver's description, read at start-up; the strings are the driver's own.
    const char* glVendor = nullptr;
    const char* glRenderer = nullptr;
    const char* glVersion = nullptr;
    int glDriver = 0; // 0 generic, 1 mini-client, 2 installable client driver
    std::vector<std::string> glExtensions;
    znGLBitmapFont fpsFont;
    // Pacing: the least time between two frames, from the target rate.
    int frameIntervalMs = 10;
    unsigned int destinatedFPS = 100;
    bool showFPS = true;
    char fpsText[32] = {};
    znRenderContext* renderContext; // owned
    znRenderEnv* renderEnv;         // the host's
    znHiResTimer timer;
    bool renderContentModified = true;
    znFramePacer* framePacer = nullptr; // owned; null unless precise pacing is on
    int swapInterval = 0;
};
