// The znVelmora demo: a host application that renders a lit, rotating model in a window of its
// own through the render manager, and reports how the run went.
#include <cstdio>
#include <exception>
#include <string>

#include "host.h"
#include "options.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

void printSummary(const RunSummary& run) {
    const double rate = run.seconds > 0 ? run.frames / run.seconds : 0;
    std::string target = run.targetRate ? std::to_string(run.targetRate) : "unpaced";
    if (run.targetRate && run.precisePacing)
        target += ", precise";
    std::printf("znVelmora demo: %ld frames in %.2f s, %.1f frames/sec (target %s), driver %s, "
                "renderer %s\n",
                run.frames, run.seconds, rate, target.c_str(), run.driver.c_str(),
                run.renderer.c_str());
}

} // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Mesa's software renderer frees a frame's worth of memory and takes it back every frame;
    // with that block at the top of the heap, glibc would hand it back to the system each time
    // and the next frame would fault it in again, at a fraction of the frame rate.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
    DemoOptions options;
    try {
        options = parseOptions(argc, argv);
    } catch (const OptionError& error) {
        std::fprintf(stderr, "demo: %s\n%s", error.what(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        printSummary(runDemo(options));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo: %s\n", error.what());
        return 1;
    }
    return 0;
}
