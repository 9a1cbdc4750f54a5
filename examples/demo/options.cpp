#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char* const kUsage =
    "usage: demo [options]\n"
    "  --frames N         stop after N rendered frames\n"
    "  --seconds S        stop after S seconds (a decimal number)\n"
    "  --fps N            target frame rate, 0 to 1000 (0: unpaced; default 100)\n"
    "  --size WxH         window size in pixels (default 640x480)\n"
    "  --no-overlay       start with the frame-rate overlay off\n"
    "  --precise          pace frames on an exact schedule at the target rate\n"
    "  --screenshot FILE  write what the last frame put on screen to FILE as PNG\n"
    "  --help             show this text\n"
    "keys: Esc quits, F or O toggles the overlay, + and - change the target rate,\n"
    "      M or Space switches the model\n";

namespace {

const long kMaxFrames = 1000000000;
const long kMaxSide = 16384;

// A whole decimal number in [low, high], with nothing before or after it.
long wholeNumber(const std::string& what, const char* text, long low, long high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    const bool digitsOnly = *text >= '0' && *text <= '9' && *end == '\0';
    if (!digitsOnly || errno == ERANGE || value < low || value > high)
        throw OptionError(what + " needs a whole number from " + std::to_string(low) + " to " +
                          std::to_string(high) + ", not \"" + text + "\"");
    return value;
}

void readFrames(const char* text, DemoOptions& options) {
    options.frames = wholeNumber("--frames", text, 1, kMaxFrames);
}

void readSeconds(const char* text, DemoOptions& options) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value) || value <= 0)
        throw OptionError(std::string("--seconds needs a positive number, not \"") + text + "\"");
    options.seconds = value;
}

void readFps(const char* text, DemoOptions& options) {
    options.fps = static_cast<unsigned int>(wholeNumber("--fps", text, 0, 1000));
}

void readSize(const char* text, DemoOptions& options) {
    const std::string size = text;
    const size_t cross = size.find('x');
    if (cross == std::string::npos)
        throw OptionError("--size needs WIDTHxHEIGHT, such as 640x480, not \"" + size + "\"");
    options.width = wholeNumber("--size's width", size.substr(0, cross).c_str(), 1, kMaxSide);
    options.height = wholeNumber("--size's height", size.substr(cross + 1).c_str(), 1, kMaxSide);
}

void readScreenshot(const char* text, DemoOptions& options) {
    if (*text == '\0')
        throw OptionError("--screenshot needs a file name");
    options.screenshot = text;
}

struct ValueOption {
    const char* name;
    void (*read)(const char* text, DemoOptions& options);
};

const ValueOption kValueOptions[] = {
    {"--frames", readFrames}, {"--seconds", readSeconds},       {"--fps", readFps},
    {"--size", readSize},     {"--screenshot", readScreenshot},
};

const ValueOption* valueOption(const std::string& name) {
    for (const ValueOption& option : kValueOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

} // namespace

DemoOptions parseOptions(int argc, char** argv) {
    DemoOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const ValueOption* option = valueOption(name);
        if (name == "--help")
            options.help = true;
        else if (name == "--no-overlay")
            options.overlay = false;
        else if (name == "--precise")
            options.precisePacing = true;
        else if (!option)
            throw OptionError("unknown option \"" + name + "\"");
        else if (++i == argc)
            throw OptionError(name + " needs a value");
        else
            option->read(argv[i], options);
    }
    return options;
}
