// Figures of a paced loop from its frames' start times: the mean rate, the median, standard
// deviation and 99th percentile of the intervals, and the processor time per second. Shared by
// the pacing benchmark on a real display and on the recording platform's modelled tick. On a
// real display, rounds are summed up by the median of each figure, so that one stalled round
// cannot stand for the rest, with the range of the standard deviation beside it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "rounds.h"

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

// Each figure's median over rounds, and the lowest and highest standard deviation.
struct PacingRounds {
    PacingFigures median;
    double sdLowMs, sdHighMs;
};

inline PacingRounds medianOfRounds(const std::vector<PacingFigures>& rounds) {
    PacingRounds r = {};
    if (rounds.empty())
        return r;
    auto medianOf = [&](double PacingFigures::*field) {
        std::vector<double> values;
        for (const PacingFigures& f : rounds)
            values.push_back(f.*field);
        return median(values);
    };
    r.median = {medianOf(&PacingFigures::rate), medianOf(&PacingFigures::medianMs),
                medianOf(&PacingFigures::sdMs), medianOf(&PacingFigures::p99Ms),
                medianOf(&PacingFigures::cpuPerSecond)};
    const auto bySd = [](const PacingFigures& a, const PacingFigures& b) {
        return a.sdMs < b.sdMs;
    };
    r.sdLowMs = std::min_element(rounds.begin(), rounds.end(), bySd)->sdMs;
    r.sdHighMs = std::max_element(rounds.begin(), rounds.end(), bySd)->sdMs;
    return r;
}

inline void printPacingHeader() {
    std::printf("%-6s %-26s %9s %7s %9s %8s %8s %9s\n", "target", "pacing", "rate", "error",
                "median ms", "sd ms", "p99 ms", "cpu ms/s");
}

inline void printPacingRow(unsigned int fps, const char* pacing, const PacingFigures& f) {
    std::printf("%-6u %-26s %9.2f %+6.2f%% %9.3f %8.3f %8.3f %9.2f\n", fps, pacing, f.rate,
                100.0 * (f.rate - fps) / fps, f.medianMs, f.sdMs, f.p99Ms, 1000.0 * f.cpuPerSecond);
}

inline void printPacingRow(unsigned int fps, const char* pacing, const PacingRounds& r) {
    std::printf("%-6u %-26s %9.2f %+6.2f%% %9.3f %8.3f %8.3f %9.2f   sd %.3f..%.3f\n", fps, pacing,
                r.median.rate, 100.0 * (r.median.rate - fps) / fps, r.median.medianMs,
                r.median.sdMs, r.median.p99Ms, 1000.0 * r.median.cpuPerSecond, r.sdLowMs,
                r.sdHighMs);
}
