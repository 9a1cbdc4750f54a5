// Live scenarios run in a real window, on whichever platform the library was built for.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoxWatcher.h"
#include "znException.h"
#include "LiveWindow.h"

using Texts = std::vector<std::string>;

// Context failures as the host catches them: the code, or 0 when nothing was thrown.
template <class Operation> int contextFailureOf(Operation operation) {
    try {
        operation();
    } catch (znExceptionHolder<znContextException>& failure) {
        return failure.exception.code;
    }
    return 0;
}

// glReadPixels of the back buffer: RGB, bottom row first.
std::vector<unsigned char> readBackBuffer(int width, int height);
// Counts the pixels of an RGB image (either row order) near the given colour.
int countNear(const std::vector<unsigned char>& rgb, int width, int x0, int y0, int x1, int y1,
              Rgb colour, int tolerance = 40);
