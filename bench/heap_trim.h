// Mesa's software renderer frees a frame's worth of memory and takes it back on every frame.
// Where that block sits at the top of glibc's heap, glibc gives it back to the system each time
// and the next frame faults it in again (about 300 page faults a frame at 640x480): a process
// that starts so runs at about 0.35 of its rate, by the luck of its heap's layout, and fresh
// peer processes did so in about half the rounds. Every loop of the frame benchmarks, the
// benchmark's process and the programs it starts, therefore runs with one fixed trim threshold.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Re-runs the program with the threshold fixed, unless it is set already; returns only when it
// is set, or when the program cannot be re-run (said on standard error).
inline void fixHeapTrimming(char** argv) {
    const char* const threshold = "glibc.malloc.trim_threshold=67108864";
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.trim_threshold="))
        return;
    const std::string all =
        tunables && *tunables ? std::string(tunables) + ":" + threshold : std::string(threshold);
    setenv("GLIBC_TUNABLES", all.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "%s: cannot re-run with a fixed heap trim threshold: %s\n", argv[0],
                 std::strerror(errno));
}
