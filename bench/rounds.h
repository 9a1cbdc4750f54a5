// What the benchmarks that run interleaved rounds share: their command line and the median
// that sums up the rounds.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

struct Rounds {
    int count;
    double seconds; // per loop and round
};

// Reads --rounds N and --seconds S after the program name over the defaults; at least one
// round, and rounds no shorter than `shortest` seconds.
inline Rounds readRounds(int argc, char** argv, Rounds rounds, double shortest) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds.count = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--seconds") == 0)
            rounds.seconds = std::max(shortest, std::atof(argv[i + 1]));
    }
    return rounds;
}

// The middle value, or the mean of the two middle ones; 0 for none.
inline double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}
