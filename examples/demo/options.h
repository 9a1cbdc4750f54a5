// The demo's command line.
#pragma once

#include <stdexcept>
#include <string>

struct DemoOptions {
    long frames = 0;        // stop after this many rendered frames; 0: no limit
    double seconds = 0;     // stop after this many seconds; 0: no limit
    unsigned int fps = 100; // target frame rate; 0 renders as fast as possible
    int width = 640;
    int height = 480;
    bool overlay = true;
    bool precisePacing = false; // frames on an exact schedule rather than the default rule
    std::string screenshot;     // PNG written when the run ends; empty: none
    bool help = false;
};

// A command line the demo cannot run with; what() says why.
struct OptionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the options after the program name. A repeated option takes its last value.
DemoOptions parseOptions(int argc, char** argv);

// The --help text, also shown after a bad command line.
extern const char* const kUsage;
