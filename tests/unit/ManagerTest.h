// A render manager on the recording platform, for a window 0x10 and a test environment whose
// operations appear in the call log as "env.<operation>()".
#pragma once

#include <memory>

#include "RecordTest.h"
#include "TestEnvironment.h"
#include "znVelmora.h"

class ManagerTest : public RecordTest {
  protected:
    void SetUp() override {
        RecordTest::SetUp();
        env.observer = [](const std::string& operation) { znRecord::note("env." + operation); };
        manager = std::make_unique<znVelmora>(window(), &env);
    }

    // Start-up and the first sync; the clock then stands where the next frame measures from.
    void startUp() {
        manager->initializeOpenGL();
        manager->enterRenderLoop();
        znRecord::clearCalls();
    }

    // One renderFunc call, `ms` milliseconds after the previous one (the clock runs at 1000
    // counts per second).
    void renderAfter(long long ms) {
        znRecord::advanceCounter(ms);
        manager->renderFunc();
    }

    // Frames of growing length until the overlay text changes; the shared refresh counter then
    // stands at 0.
    void renderUntilOverlayRefresh() {
        const size_t before = overlayTexts().size();
        for (int frame = 0; frame < 12; ++frame) {
            renderAfter(10 + frame);
            const Texts texts = overlayTexts();
            if (texts.size() - before >= 2 && texts.back() != texts[texts.size() - 2])
                return;
        }
        ADD_FAILURE() << "the overlay text was not refreshed within 12 frames";
    }

    static int frameCount() { return static_cast<int>(znRecord::callsNamed("SwapBuffers").size()); }

    // The texts the overlay printed, in order.
    static Texts overlayTexts() {
        Texts texts;
        for (const znRecord::Call& call : znRecord::calls())
            if (call.name == "glCallLists")
                texts.push_back(call.args.at(2));
        return texts;
    }

    TestEnvironment env;
    std::unique_ptr<znVelmora> manager;
};
