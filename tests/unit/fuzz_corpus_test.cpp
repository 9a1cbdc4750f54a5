// Every input the fuzzers kept, run again through their targets: each must still hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harnesses.h"

namespace {

namespace fs = std::filesystem;

template <class Target> void replay(const std::string& corpus, Target target) {
    int inputs = 0;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(ZN_FUZZ_CORPUS) / corpus)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<uint8_t> input((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
        EXPECT_TRUE(target(input.data(), input.size())) << entry.path();
        ++inputs;
    }
    EXPECT_GT(inputs, 0) << "no corpus in " << corpus;
}

TEST(FuzzCorpus, DriverStringsAndTheExtensionSplitHoldForEveryKeptInput) {
    replay("driver_strings", znFuzz::driverStrings);
}

TEST(FuzzCorpus, FontTextPathsHoldForEveryKeptInput) {
    replay("font_text", znFuzz::fontText);
}

} // namespace
