#include "znVelmora.h"

#include "timing/znFramePacer.h"

void znVelmora::setPrecisePacing(bool precise) {
    if (precise == getPrecisePacing())
        return;
    if (precise) {
        framePacer = new znFramePacer;
    } else {
        delete framePacer;
        framePacer = nullptr;
    }
}

bool znVelmora::getPrecisePacing() {
    return framePacer != nullptr;
}

void znVelmora::awaitFrame() {
    framePacer->awaitFrame(destinatedFPS, timer.frequency.QuadPart);
}
