#include "wayland_requests.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace {

const char* const kMark = "wayland_frame_bench: frames of ";
const char* const kMarkEnd = "wayland_frame_bench: frames end";

// "wl_surface@3.attach(wl_buffer@12, 0, 0)" after the arrow: "wl_surface.attach".
std::string requestName(const char* sent) {
    const std::string call(sent, std::strcspn(sent, "("));
    const size_t at = call.find('@'), dot = call.find('.');
    return at < dot && dot != std::string::npos ? call.substr(0, at) + call.substr(dot) : call;
}

using Requests = std::map<std::string, long>; // by name, over the marked frames

// Reads the child's standard error: the requests between each pair of marks, by loop.
std::map<std::string, Requests> readRequests(FILE* log) {
    std::map<std::string, Requests> byLoop;
    Requests* counting = nullptr;
    char line[4096];
    while (std::fgets(line, sizeof line, log)) {
        line[std::strcspn(line, "\n")] = '\0';
        const char* arrow = std::strstr(line, " -> ");
        if (std::strncmp(line, kMark, std::strlen(kMark)) == 0)
            counting = &byLoop[line + std::strlen(kMark)];
        else if (std::strcmp(line, kMarkEnd) == 0)
            counting = nullptr;
        else if (counting && arrow)
            ++(*counting)[requestName(arrow + 4)];
    }
    return byLoop;
}

void printRequests(const char* name, const Requests& requests, int frames) {
    long total = 0;
    std::string kinds;
    for (const auto& [request, count] : requests) {
        total += count;
        char kind[128];
        std::snprintf(kind, sizeof kind, "%s %s %.2f", kinds.empty() ? "" : ",", request.c_str(),
                      double(count) / frames);
        kinds += kind;
    }
    const auto sync = requests.find("wl_display.sync");
    const long roundTrips = sync == requests.end() ? 0 : sync->second;
    std::printf("  %-10s requests per frame %.2f, round trips per frame %.2f:%s\n", name,
                double(total) / frames, double(roundTrips) / frames, kinds.c_str());
}

} // namespace

void markFrames(const char* loop) {
    if (loop)
        std::fprintf(stderr, "%s%s\n", kMark, loop);
    else
        std::fprintf(stderr, "%s\n", kMarkEnd);
}

void countRequests(const std::string& program, int frames, const std::vector<std::string>& loops) {
    const std::string command =
        "WAYLAND_DEBUG=client " + program + " " + std::to_string(frames) + " 2>&1 >/dev/null";
    FILE* log = popen(command.c_str(), "r");
    if (!log) {
        std::printf("compositor requests: the counting run did not start\n");
        return;
    }
    const std::map<std::string, Requests> byLoop = readRequests(log);
    const int status = pclose(log);
    std::printf("compositor requests (%d frames each, WAYLAND_DEBUG=client)%s\n", frames,
                status == 0 ? "" : ": the counting run failed");
    for (const std::string& name : loops) {
        const auto found = byLoop.find(name);
        if (found == byLoop.end())
            std::printf("  %-10s not counted\n", name.c_str());
        else
            printRequests(name.c_str(), found->second, frames);
    }
}
