// What every benchmark of the table shares: wall-clock timing, medians of
// runs taken in turns with their baseline, and the rows scripts/bench
// collects. A row is one line: "ROW", then figure, ours, baseline, ratio,
// target and PASS or FAIL, separated by tabs.
//
// Absolute times on shared machines vary by a factor of two between runs,
// so a figure is judged by its ratio to a baseline measured in the same
// run, in turns with it, so that a busy moment slows both alike.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Since(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

template <typename F>
double Seconds(F&& run) {
    const auto start = Clock::now();
    run();
    return Since(start);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

/// How many times each side of a row runs.
constexpr int RUNS = 5;

struct Medians {
    double ours = 0;
    double baseline = 0;
};

/// Runs ours and then the baseline, RUNS times in turns; each callable
/// returns the seconds it measured.
template <typename Ours, typename Baseline>
Medians InTurns(Ours&& ours, Baseline&& baseline) {
    std::vector<double> a, b;
    for (int run = 0; run < RUNS; ++run) {
        a.push_back(ours());
        b.push_back(baseline());
    }
    return {Median(a), Median(b)};
}

inline std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

inline std::string Time(double seconds) {
    return seconds < 1 ? Format("%.1f ms", seconds * 1e3) : Format("%.3f s", seconds);
}

/// Prints one row; returns whether it passed.
inline bool Row(const std::string& figure, const std::string& ours, const std::string& baseline,
                const std::string& ratio, const std::string& target, bool pass) {
    std::printf("ROW\t%s\t%s\t%s\t%s\t%s\t%s\n", figure.c_str(), ours.c_str(), baseline.c_str(),
                ratio.c_str(), target.c_str(), pass ? "PASS" : "FAIL");
    std::fflush(stdout);
    return pass;
}

/// A time that must stay within `limit` times its baseline's time.
inline bool TimeRow(const std::string& figure, Medians m, const std::string& baseline,
                    double limit) {
    const double ratio = m.ours / m.baseline;
    return Row(figure, Time(m.ours), baseline + " " + Time(m.baseline), Format("%.2f", ratio),
               "<= " + Format("%.2f", limit), ratio <= limit);
}

/// A throughput that must reach `least` times its baseline's: the ratio is
/// the baseline's time over ours, for the same number of bytes.
inline bool ThroughputRow(const std::string& figure, Medians m, double bytes,
                          const std::string& baseline, double least) {
    const double ratio = m.baseline / m.ours;
    return Row(figure, Format("%.2f GB/s", bytes / m.ours / 1e9),
               baseline + " " + Format("%.2f GB/s", bytes / m.baseline / 1e9),
               Format("%.2f", ratio), ">= " + Format("%.2f", least), ratio >= least);
}

}  // namespace bench
