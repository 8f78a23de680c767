#pragma once
// Timing helpers shared by the benchmarks: medians in milliseconds and one
// report line per measurement.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace Bench {

inline double millis(const std::function<void()> &body)
{
    QElapsedTimer t;
    t.start();
    body();
    return double(t.nsecsElapsed()) / 1e6;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of `runs` timed runs of `body`, each after an untimed `setUp`.
inline double medianMillis(int runs, const std::function<void()> &body, const std::function<void()> &setUp = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setUp)
            setUp();
        times.push_back(millis(body));
    }
    return median(times);
}

inline void report(const char *what, double ms, double limitMs, int runs)
{
    std::printf("%-52s %8.1f ms  (median of %d)%s\n", what, ms, runs, ms < limitMs ? "" : "   (over the target)");
}

} // namespace Bench
