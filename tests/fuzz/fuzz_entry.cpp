// libFuzzer's entry point for the target named by ZN_FUZZ_TARGET; a property that does not hold
// stops the run like a crash, and libFuzzer keeps the input.
#include <cstdlib>

#include "harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!znFuzz::ZN_FUZZ_TARGET(data, size))
        std::abort();
    return 0;
}
