// Every unit test starts from a fresh recording platform.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "znRecord.h"
#include "znRenderContext.h"

class RecordTest : public ::testing::Test {
  protected:
    void SetUp() override { znRecord::reset(); }

    static HWND window(uintptr_t id = 0x10) { return reinterpret_cast<HWND>(id); }

    // A render context bound to window `id`: the library's format set, its context current and
    // the entry points loaded.
    static std::unique_ptr<znRenderContext> bind(uintptr_t id = 0x10) {
        auto context = std::make_unique<znRenderContext>(window(id));
        context->initRenderContext();
        return context;
    }

    // The message boxes shown so far, each as "caption|text|style".
    static std::vector<std::string> boxes() {
        std::vector<std::string> shown;
        for (const znRecord::MessageBox& box : znRecord::messageBoxes())
            shown.push_back(box.caption + "|" + box.text + "|" + std::to_string(box.style));
        return shown;
    }
};

using Texts = std::vector<std::string>;
