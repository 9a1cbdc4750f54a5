#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options.h"

namespace {

DemoOptions parse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "demo");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    return parseOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(DemoOptions, RunsUnlimitedAt100FpsIn640x480WithTheOverlayByDefault) {
    const DemoOptions options = parse({});
    EXPECT_EQ(options.frames, 0);
    EXPECT_EQ(options.seconds, 0);
    EXPECT_EQ(options.fps, 100u);
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    EXPECT_TRUE(options.overlay);
    EXPECT_FALSE(options.precisePacing);
    EXPECT_EQ(options.screenshot, "");
    EXPECT_FALSE(options.help);
}

TEST(DemoOptions, ReadsEveryOptionAndTakesTheLastOfRepeatedOnes) {
    const DemoOptions options = parse(
        {"--frames", "20", "--seconds", "1.5", "--fps", "30", "--size", "320x200", "--no-overlay",
         "--precise", "--screenshot", "a.png", "--fps", "0", "--screenshot", "b.png"});
    EXPECT_EQ(options.frames, 20);
    EXPECT_EQ(options.seconds, 1.5);
    EXPECT_EQ(options.fps, 0u);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 200);
    EXPECT_FALSE(options.overlay);
    EXPECT_TRUE(options.precisePacing);
    EXPECT_EQ(options.screenshot, "b.png");
    EXPECT_TRUE(parse({"--help"}).help);
}

TEST(DemoOptions, RejectsValuesOutOfRangeOrNotWhollyNumbers) {
    const std::vector<std::vector<std::string>> rejected = {
        {"--frames", "0"},      {"--frames", "-3"},   {"--frames", "+3"},
        {"--frames", " 3"},     {"--frames", "3x"},   {"--frames", "99999999999999999999"},
        {"--fps", "1001"},      {"--fps", ""},        {"--seconds", "0"},
        {"--seconds", "-1"},    {"--seconds", "inf"}, {"--seconds", "nan"},
        {"--seconds", "2s"},    {"--size", "640"},    {"--size", "0x480"},
        {"--size", "640x"},     {"--size", "x480"},   {"--size", "640x480x2"},
        {"--size", "20000x10"}, {"--screenshot", ""},
    };
    for (const auto& arguments : rejected)
        EXPECT_THROW(parse(arguments), OptionError) << arguments[0] << " " << arguments[1];
    EXPECT_EQ(parse({"--size", "16384x1"}).width, 16384);
    EXPECT_EQ(parse({"--fps", "1000"}).fps, 1000u);
}

TEST(DemoOptions, RejectsUnknownOptionsAndMissingValues) {
    EXPECT_THROW(parse({"--fast"}), OptionError);
    EXPECT_THROW(parse({"frames"}), OptionError);
    for (const char* option : {"--frames", "--seconds", "--fps", "--size", "--screenshot"})
        EXPECT_THROW(parse({option}), OptionError) << option;
}

} // namespace
