// Figures of a paced loop from its frames' start times: the mean rate, the median, standard
// deviation and 99th percentile of the intervals, and the processor time per second. Shared by
// the pacing benchmark on a real display and on the recording platform's modelled tick.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

struct PacingFigures {
    double rate, medianMs, sdMs, p99Ms, cpuPerSecond;
};

// Frame intervals, gathered from the start times of the frames of one or more runs.
struct PacingSample {
    std::vector<double> intervalsMs;
    double processorSeconds = 0;

    // Start times in seconds of one run, and the processor time it took.
    void add(const std::vector<double>& starts, double processor) {
        for (size_t i = 1; i < starts.size(); ++i)
            intervalsMs.push_back(1000.0 * (starts[i] - starts[i - 1]));
        processorSeconds += processor;
    }
};

inline PacingFigures pacingFigures(PacingSample sample) {
    PacingFigures f = {};
    std::vector<double>& intervals = sample.intervalsMs;
    if (intervals.empty())
        return f;
    double sum = 0, squares = 0;
    for (double ms : intervals) {
        sum += ms;
        squares += ms * ms;
    }
    const double mean = sum / intervals.size();
    std::sort(intervals.begin(), intervals.end());
    f.rate = 1000.0 / mean;
    f.medianMs = intervals[intervals.size() / 2];
    f.sdMs = std::sqrt(std::max(0.0, squares / intervals.size() - mean * mean));
    f.p99Ms = intervals[std::min(intervals.size() - 1, intervals.size() * 99 / 100)];
    f.cpuPerSecond = sample.processorSeconds / (sum / 1000.0);
    return f;
}

inline void printPacingHeader() {
    std::printf("%-6s %-26s %9s %7s %9s %8s %8s %9s\n", "target", "pacing", "rate", "error",
                "median ms", "sd ms", "p99 ms", "cpu ms/s");
}

inline void printPacingRow(unsigned int fps, const char* pacing, const PacingFigures& f) {
    std::printf("%-6u %-26s %9.2f %+6.2f%% %9.3f %8.3f %8.3f %9.2f\n", fps, pacing, f.rate,
                100.0 * (f.rate - fps) / fps, f.medianMs, f.sdMs, f.p99Ms, 1000.0 * f.cpuPerSecond);
}
