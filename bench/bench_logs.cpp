// The three logs on 100,000 contacts each (BENCH_CONTACTS): switching
// between two of them, the log filter over the whole log, and adding one log
// to another. Prints medians, and the peak memory of each walk; at 1,000,000
// contacts also the merge's growth from 100,000.

#include "LogGenerator.h"
#include "Timing.h"
#include "core/Filter.h"
#include "core/GlavnMod.h"
#include "core/LogWalks.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// The median of `runs` runs (one run: the first, the one an operator waits
// for) and the largest peak memory growth of any of them; returns the
// median. Nothing is printed, and -1 returned, when `check` finds a run's
// work failed.
double report(const std::string &what, int runs, double goalMs, const std::function<void()> &setUp,
              const std::function<void()> &run, double fileMb, const std::function<bool()> &check)
{
    Bench::Runs times;
    double peak = 0;
    for (int i = 0; i < runs; ++i) {
        setUp();
        peak = std::max(peak, Bench::peakGrowthMb([&] { times.time(run); }));
        if (!check()) {
            std::fprintf(stderr, "%s: run %d failed\n", what.c_str(), i + 1);
            return -1;
        }
    }
    times.report(what, goalMs);
    if (fileMb >= 0)
        Bench::reportPeak(what, peak, fileMb);
    return Bench::median(times.wall);
}

// The generated contacts of one band and mode.
int contactsOn(const QString &band, const QString &mode)
{
    int n = 0;
    for (int i = 0; i < Bench::logSize; ++i)
        n += Bench::bandOf(i) == band && Bench::modeOf(i) == mode;
    return n;
}

void generateLog(const QString &dir, int count = Bench::logSize)
{
    Db::Database database;
    database.setDirectory(dir);
    Db::Table log(&database, QStringLiteral("Tarnel"));
    log.open();
    Bench::generateLog(log, count);
}

// A merge of one 100,000-contact log into another, on the engine's cursors
// (the window around it adds next to nothing): the base the large merge's
// growth is measured from. Median of 3.
double smallMergeMillis(const QString &dir)
{
    const int small = 100000;
    const QString pristine = dir + QStringLiteral("/pristine");
    ProgramDirectory::installEmptyTables(pristine);
    generateLog(pristine + QStringLiteral("/Log/Log1"), small);
    generateLog(pristine + QStringLiteral("/Log/Log2"), small);
    std::vector<double> times;
    for (int run = 0; run < 3; ++run) {
        const QString copy = dir + QStringLiteral("/run%1").arg(run);
        Bench::copyTree(pristine, copy);
        Db::Database targetBase, sourceBase;
        targetBase.setDirectory(copy + QStringLiteral("/Log/Log1"));
        sourceBase.setDirectory(copy + QStringLiteral("/Log/Log2"));
        Db::Table to(&targetBase, QStringLiteral("Tarnel")), from(&sourceBase, QStringLiteral("Tarnel"));
        to.open();
        from.open();
        times.push_back(Bench::millis([&] { LogWalks::appendLog(from, to, [] {}); }));
        if (to.recordCount() != 2 * small) {
            std::fprintf(stderr, "small merge incomplete: %d rows\n", to.recordCount());
            return -1;
        }
    }
    return Bench::median(times);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Bench::installProgram(dir.path(), true);
    generateLog(dir.path() + QStringLiteral("/Log/Log2"));
    // At 1,000,000 contacts the merge is also timed at 100,000, for its growth.
    double smallMerge = 0;
    if (Bench::large()) {
        QTemporaryDir smallDir;
        smallMerge = smallMergeMillis(smallDir.path());
        if (smallMerge < 0)
            return 1;
    }
    QDir::setCurrent(dir.path());
    Ui::ScriptedDialogs quiet;
    createWindowSet();
    const std::string n = Bench::contactsText();
    const double logMb = Bench::fileMb(dir.filePath(QStringLiteral("Log/Log1/Tarnel.db")));

    int log = 1;
    const auto whole = [&quiet] { return DM->Table1.recordCount() == Bench::logSize && quiet.errors().isEmpty(); };
    if (report("switch between two " + n + "-contact logs", 7, 200, [] {}, [&log] {
        log = 3 - log;
        (log == 1 ? Form3->LogLog1 : Form3->LogLog2)->click();
        Bench::untilIdle();
    }, -1, whole) < 0)
        return 1;
    Form3->LogLog1->click();

    bool cw = false;
    const QString band = QStringLiteral("14");
    if (report("filter OK over " + n + " contacts, first run", 1, Bench::goal(1000, 8000), [&band, &cw] {
        Filter->FormActivate();
        Filter->CheckBoxB->setChecked(true);
        Filter->ComboBoxB->setCurrentText(band);
        Filter->CheckBoxM->setChecked(true);
        Filter->ComboBoxM->setCurrentText((cw = !cw) ? QStringLiteral("CW") : QStringLiteral("SSB"));
    }, [] {
        Filter->ButtonOClick();
        Bench::untilIdle();
    }, logMb, [&band, &cw, &quiet] {
        return DM->Table1.recordCount() == contactsOn(band, cw ? QStringLiteral("CW") : QStringLiteral("SSB")) &&
               quiet.errors().isEmpty();
    }) < 0)
        return 1;
    Filter->ButtonCClick();

    const double merge = report("add a " + n + "-contact log", 1, Bench::goal(2000, 20000), [] {},
                                [] {
        Form3->LogAddLog2->click();
        Bench::untilIdle();
    }, 2 * logMb, [&quiet] {
        return DM->Table1.recordCount() == 2 * Bench::logSize && quiet.errors().isEmpty();
    });
    if (merge < 0)
        return 1;
    if (smallMerge > 0) {
        std::printf("%-56s %9.1f ms  (median of 3, on the engine's cursors)\n", "add a 100,000-contact log",
                    smallMerge);
        Bench::figure("merge growth, 100,000 to " + n + " contacts", merge / smallMerge, "x", 11);
    }
    destroyWindowSet();
    return 0;
}
