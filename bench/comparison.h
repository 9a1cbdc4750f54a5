// How the frame benchmarks compare loops: frames per second of a loop run for a while, rounds in
// which every loop runs in turn, and the medians, spreads and ratios that sum them up.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "rounds.h"

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Frames per second of a loop run for the given time.
template <class Frame> double rate(Frame frame, double seconds) {
    // The first frames compile the driver's pipelines; they are no part of the rate.
    for (int warmUp = 0; warmUp < 5; ++warmUp)
        frame();
    long frames = 0;
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < seconds) {
        frame();
        ++frames;
    }
    return frames / secondsSince(start);
}

// A loop to time: it makes its context current and runs for the given seconds, answering its
// frames per second.
struct Loop {
    const char* name;
    std::function<double(double)> run;
};

struct Spread {
    double median, low, high;
};

inline Spread spread(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {median(values), values.front(), values.back()};
}

// Rounds in which every loop runs once, each round starting with the next loop in turn, so
// that none always runs first (on a busy machine the first one pays for what ran before).
// Answers each loop's rates, round by round.
inline std::vector<std::vector<double>> interleaved(const std::vector<Loop>& loops, int rounds,
                                                    double seconds) {
    std::vector<std::vector<double>> rates(loops.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < loops.size(); ++i) {
            const size_t at = (round + i) % loops.size();
            rates[at].push_back(loops[at].run(seconds));
        }
    return rates;
}

// One loop's rate over another's, as the median of the rounds' ratios with their spread.
inline Spread ratio(const std::vector<double>& over, const std::vector<double>& under) {
    std::vector<double> ratios;
    for (size_t round = 0; round < over.size() && round < under.size(); ++round)
        ratios.push_back(over[round] / under[round]);
    return spread(ratios);
}

// "   library / NAME" and the ratio with its spread, or "not run" where the other loop did not
// run in some round (a peer program that was not built answers 0).
inline void printRatio(const char* name, const std::vector<double>& over,
                       const std::vector<double>& under) {
    if (under.empty() || *std::min_element(under.begin(), under.end()) <= 0) {
        std::printf("   library / %s not run", name);
        return;
    }
    const Spread r = ratio(over, under);
    std::printf("   library / %s %.3f (%.3f..%.3f)", name, r.median, r.low, r.high);
}

// Prints each loop's median rate with its spread, and the library's (the first loop's) rate
// over each other loop's.
inline void printComparison(const char* title, const std::vector<Loop>& loops,
                            const std::vector<std::vector<double>>& rates) {
    std::printf("%s\n", title);
    for (size_t i = 0; i < loops.size(); ++i) {
        if (rates[i].empty() || rates[i][0] <= 0) {
            std::printf("  %-10s not run\n", loops[i].name);
            continue;
        }
        const Spread rate = spread(rates[i]);
        std::printf("  %-10s frames/s %8.1f (%.1f..%.1f)", loops[i].name, rate.median, rate.low,
                    rate.high);
        if (i > 0)
            printRatio(loops[i].name, rates[0], rates[i]);
        std::printf("\n");
    }
}
