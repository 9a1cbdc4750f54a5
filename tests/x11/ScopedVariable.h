// Sets (or, given null, removes) an environment variable for the life of a test scope.
#pragma once

#include <cstdlib>
#include <string>

class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name(name) {
        const char* before = std::getenv(name);
        hadValue = before != nullptr;
        if (hadValue)
            previous = before;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (hadValue)
            setenv(name.c_str(), previous.c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    std::string name;
    std::string previous;
    bool hadValue;
};
