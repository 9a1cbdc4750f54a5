// A host environment for tests: it records which operations ran, with the elapsed seconds it was
// given, throws from the operations a test names, and draws what a test asks for.
#pragma once

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "znRenderEnv.h"

class TestEnvironment : public znRenderEnv {
  public:
    std::vector<std::string> events;
    std::vector<float> elapsedSeconds;
    // Operations (by name, e.g. "syncEnvironment") that throw std::runtime_error.
    std::set<std::string> throwing;
    // Called with each operation's name as it runs, before it throws.
    std::function<void(const std::string&)> observer;
    // What renderEnvironment draws.
    std::function<void()> drawing;

    void initEnvironment() override { happen("initEnvironment"); }
    void destroyEnvironment() override { happen("destroyEnvironment"); }
    void syncEnvironment() override { happen("syncEnvironment"); }
    void animateEnvironment(float seconds) override {
        elapsedSeconds.push_back(seconds);
        happen("animateEnvironment");
    }
    void renderEnvironment() override {
        happen("renderEnvironment");
        if (drawing)
            drawing();
    }
    void prepareEnvironment() override { happen("prepareEnvironment"); }

    int count(const std::string& operation) const {
        int n = 0;
        for (const std::string& event : events)
            n += event == operation ? 1 : 0;
        return n;
    }

  private:
    void happen(const std::string& operation) {
        events.push_back(operation);
        if (observer)
            observer(operation);
        if (throwing.count(operation))
            throw std::runtime_error(operation);
    }
};
