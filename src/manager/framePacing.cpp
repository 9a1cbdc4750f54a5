#include "znVelmora.h"

#include "manager/managerState.h"

#include "timing/znFramePacer.h"

void znVelmora::setPrecisePacing(bool precise) {
    if (precise == getPrecisePacing())
        return;
    if (precise) {
        state->framePacer = new znFramePacer;
    } else {
        delete state->framePacer;
        state->framePacer = nullptr;
    }
}

bool znVelmora::getPrecisePacing() {
    return state->framePacer != nullptr;
}

void znVelmora::awaitFrame() {
    state->framePacer->awaitFrame(state->destinatedFPS, state->timer.frequency.QuadPart);
}
