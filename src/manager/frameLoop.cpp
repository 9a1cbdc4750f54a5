#include "znVelmora.h"

#include "manager/managerState.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "errors/failures.h"
#include "platform/win32api.h"
#include "timing/spans.h"

namespace {

// Shared by every manager in the process: the overlay text is refreshed on the first overlay
// frame drawn and then on every 11th. Managers on several threads count in turn.
std::atomic<int> fpsRefreshCounter{10};

bool refreshDue() {
    int counted = fpsRefreshCounter.load();
    while (!fpsRefreshCounter.compare_exchange_weak(counted, counted >= 10 ? 0 : counted + 1)) {
    }
    return counted >= 10;
}

const int kOverlayDrop = 45; // from the top of the drawing area to the overlay's bottom edge
const GLsizei kOverlayWidth = 50;
const GLsizei kOverlayHeight = 40;

GLint overlayBottom(int windowY, int windowHeight) {
    // Both are at least 0, so only the upper end can overflow.
    const long long bottom = static_cast<long long>(windowY) + windowHeight - kOverlayDrop;
    return bottom > INT32_MAX ? INT32_MAX : static_cast<GLint>(bottom);
}

} // namespace

bool znVelmora::enterRenderLoop() {
    if (!state->renderContentModified)
        return true;
    try {
        state->renderEnv->syncEnvironment();
    } catch (...) {
        zn::throwRenderFailure(3);
    }
    timerReset();
    state->renderContentModified = false;
    return true;
}

void znVelmora::renderFunc() {
    renderFrame();
}

int znVelmora::renderFrame() {
    try {
        if (isWindowValid())
            doRendering();
    } catch (znExceptionHolder<znRenderException>& failure) {
        failure.exception.showErrorMessage();
        return zn::failureCode(failure.exception.code);
    }
    return 0;
}

bool znVelmora::isWindowValid() {
    return state->windowWidth >= 1 && state->windowHeight > 0 &&
           !IsIconic(state->renderContext->getRenderWidget());
}

void znVelmora::doRendering() {
    if (state->framePacer)
        awaitFrame();
    state->timer.performCounter();
    // The timer's figure already counts one millisecond over the span; one more lets a frame
    // start a little before the interval has fully passed. Compared as unsigned, low 32 bits.
    const uint32_t figure =
        static_cast<uint32_t>(state->timer.elapsedTimeinMSSinceLastRender() + 1);
    const uint32_t interval = static_cast<uint32_t>(state->frameIntervalMs);
    if (!state->framePacer && figure < interval) {
        Sleep(interval - figure);
        return;
    }

    doPreRendering();
    const float seconds = state->timer.getElapsedSeconds();
    try {
        state->renderEnv->animateEnvironment(seconds);
        state->renderEnv->renderEnvironment();
    } catch (...) {
        zn::throwRenderFailure(2);
    }
    doPostRendering();
    glFinish();
    if (!SwapBuffers(state->renderContext->getDC()))
        zn::throwRenderFailure(1);
    state->timer.reset();
}

void znVelmora::doPreRendering() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void znVelmora::doPostRendering() {
    if (!state->showFPS)
        return;
    if (refreshDue()) {
        const int64_t span =
            zn::counterSpan(state->timer.currentCount.QuadPart, state->timer.lastCount.QuadPart);
        // Bounded: an absurd rate is cut to the text's 32 characters rather than overrun them.
        std::snprintf(state->fpsText, sizeof state->fpsText, "%.2f Frames/sec",
                      zn::spanRate(span, state->timer.frequency.QuadPart));
    }
    glViewport(0, overlayBottom(state->windowY, state->windowHeight), kOverlayWidth,
               kOverlayHeight);
    state->fpsFont.printString(state->fpsText, -0.65f, 0.42f, 0.0f, 1.0f, 1.0f);
}

float znVelmora::framesPerSecond() {
    return state->timer.getFPS();
}
