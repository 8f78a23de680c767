#pragma once
// Timing helpers shared by the benchmarks: medians in milliseconds, peak
// resident memory, and one report line per figure that prints its goal beside
// it and "(over the target)" when the figure misses the goal.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace Bench {

// The size of the generated logs: 100,000 contacts, or BENCH_CONTACTS
// (`make bench-large` sets 1,000,000).
inline int contactCount()
{
    const char *text = std::getenv("BENCH_CONTACTS");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 100000;
}

inline const int logSize = contactCount();

// Whether the large goals apply.
inline bool large()
{
    return logSize >= 1000000;
}

// The goal for this log size.
inline double goal(double at100k, double at1m)
{
    return large() ? at1m : at100k;
}

// "100,000" for the report lines.
inline std::string contactsText(int n = logSize)
{
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// One figure: "<what>  <value> <unit>  (goal < <goal> <unit>)", and
// "(over the target)" when it is not below the goal. `note` says how the
// figure was taken ("median of 3").
inline void figure(const std::string &what, double value, const char *unit, double goalValue,
                   const std::string &note = {})
{
    // Sub-millisecond figures keep three decimals.
    std::printf("%-56s %9.*f %-2s  (goal < %g %s)%s%s\n", what.c_str(), value < 10 ? 3 : 1, value, unit, goalValue, unit,
                note.empty() ? "" : ("  " + note).c_str(), value < goalValue ? "" : "   (over the target)");
    std::fflush(stdout);
}

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

inline double percentile99(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() * 99 / 100];
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

// A median in milliseconds against a goal in milliseconds.
inline void report(const std::string &what, double ms, double goalMs, int runs)
{
    figure(what, ms, "ms", goalMs, runs > 1 ? "median of " + std::to_string(runs) : std::string("one run"));
}

// Timed runs of one walk: wall time against the goal, with the CPU time the
// process spent beside it (on a busy machine the two part).
struct Runs {
    std::vector<double> wall, cpu;

    void time(const std::function<void()> &body)
    {
        const auto cpuNow = [] {
            timespec t{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
            return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
        };
        const double c = cpuNow();
        wall.push_back(millis(body));
        cpu.push_back(cpuNow() - c);
    }
    void report(const std::string &what, double goalMs) const
    {
        const std::string runs = wall.size() > 1 ? "median of " + std::to_string(wall.size()) : "one run";
        figure(what, median(wall), "ms", goalMs, runs + ", CPU " + std::to_string(int(median(cpu))) + " ms");
    }
};

// Runs the event loop until nothing is left to do now (timers set for later
// stay for later): every piece of work a step posted is done.
inline void untilIdle()
{
    while (QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents))
        ;
}

// Time spent painting, kept apart: a step's figure is its own work up to the
// idle event loop, and painting (Qt's drawing of the shown windows,
// offscreen here) has a line of its own. Installed on the application.
class PaintClock : public QObject {
public:
    PaintClock() { QCoreApplication::instance()->installEventFilter(this); }
    qint64 nanos = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool painting = event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint;
        if (!painting || depth_ > 0)
            return QObject::eventFilter(watched, event);
        QElapsedTimer t;
        t.start();
        ++depth_;
        // Delivered here, inside the filter, so that its time is known.
        watched->event(event);
        --depth_;
        nanos += t.nsecsElapsed();
        return true;
    }

private:
    int depth_ = 0;
};

// Resident memory from /proc/self/status: "VmRSS" now or "VmHWM" (the peak), in MB.
inline double residentMb(const char *which = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(which))
            return line.mid(int(qstrlen(which))).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// The peak resident memory that `body` adds to what the process holds when
// it starts, in MB (the kernel's peak is reset first).
inline double peakGrowthMb(const std::function<void()> &body)
{
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    reset.close();
    const double before = residentMb();
    body();
    return residentMb("VmHWM:") - before;
}

// Peak memory of a walk against the goal: 200 MB beyond the file it reads.
inline void reportPeak(const std::string &what, double mb, double fileMb)
{
    figure(what + " (peak resident growth)", mb, "MB", 200 + double(int(fileMb + 0.5)),
           fileMb > 0 ? "200 MB + the " + std::to_string(int(fileMb + 0.5)) + " MB file read" : std::string());
}

inline double fileMb(const QString &path)
{
    return double(QFile(path).size()) / (1024.0 * 1024.0);
}

} // namespace Bench
