#pragma once
// Saving contacts through the shown main window as an operator does, shared
// by the benchmarks that time saves: each save is timed from the button to
// the idle event loop, its painting kept apart.

#include "LogGenerator.h"
#include "Timing.h"
#include "core/Unit2.h"
#include "core/Unit3.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <optional>
#include <vector>

namespace Bench {

// Lets the program sit for `ms` as an operator's pause would: its timers
// (the idle checkpoint among them) fire meanwhile.
inline void pause(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    untilIdle();
}

// Saves `count` contacts through the save button, each after `idleMs` of
// idle time; nothing when a save is refused.
inline std::optional<std::vector<double>> saveContacts(int count, int idleMs, PaintClock &paintClock,
                                                       std::vector<double> &painting)
{
    std::vector<double> times;
    Form3->MaskEditDate->setText(QStringLiteral("08.12.2026"));
    Form3->MaskEditTime->setText(QStringLiteral("20:00:00"));
    const int before = DM->Table1.recordCount();
    for (int i = 0; i < count; ++i) {
        Form3->MaskEditCall->setText(callOf(i * 53 % logSize));
        pause(idleMs);
        QElapsedTimer t;
        t.start();
        const qint64 paintedBefore = paintClock.nanos;
        Form3->ButtonSaveClick();
        untilIdle();
        const qint64 painted = paintClock.nanos - paintedBefore;
        times.push_back(double(t.nsecsElapsed() - painted) / 1000.0);
        painting.push_back(double(painted) / 1000.0);
        if (DM->Table1.recordCount() != before + i + 1) {
            std::fprintf(stderr, "save %d of %d was refused\n", i + 1, count);
            return std::nullopt;
        }
    }
    return times;
}

} // namespace Bench
