// The three logs on 100,000 contacts each (BENCH_CONTACTS): switching
// between two of them, the log filter over the whole log, and adding one log
// to another. Prints medians, and the peak memory of each walk.

#include "LogGenerator.h"
#include "Timing.h"
#include "core/Filter.h"
#include "core/GlavnMod.h"
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

// The median of `runs` runs and the largest peak memory growth of any of them.
void report(const std::string &what, int runs, double goalMs, const std::function<void()> &setUp,
            const std::function<void()> &run, double fileMb)
{
    Bench::Runs times;
    double peak = 0;
    for (int i = 0; i < runs; ++i) {
        setUp();
        peak = std::max(peak, Bench::peakGrowthMb([&] { times.time(run); }));
    }
    times.report(what, goalMs);
    if (fileMb >= 0)
        Bench::reportPeak(what, peak, fileMb);
}

void generateLog2(const QString &dir)
{
    Db::Database database;
    database.setDirectory(dir + QStringLiteral("/Log/Log2"));
    Db::Table log(&database, QStringLiteral("Tarnel"));
    log.open();
    Bench::generateLog(log);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Bench::installProgram(dir.path(), false);
    generateLog2(dir.path());
    QDir::setCurrent(dir.path());
    Ui::ScriptedDialogs quiet;
    createWindowSet();
    const std::string n = Bench::contactsText();
    const double logMb = Bench::fileMb(dir.filePath(QStringLiteral("Log/Log1/Tarnel.db")));

    int log = 1;
    report("switch between two " + n + "-contact logs", 7, 200, [] {}, [&log] {
        log = 3 - log;
        (log == 1 ? Form3->LogLog1 : Form3->LogLog2)->click();
    }, -1);
    Form3->LogLog1->click();

    report("filter OK over " + n + " contacts", 3, Bench::goal(1000, 8000), [] {
        Filter->FormActivate();
        Filter->CheckBoxB->setChecked(true);
        Filter->ComboBoxB->setCurrentText(QStringLiteral("14"));
        Filter->CheckBoxM->setChecked(true);
        static bool cw = false;
        Filter->ComboBoxM->setCurrentText((cw = !cw) ? QStringLiteral("CW") : QStringLiteral("SSB"));
    }, [] { Filter->ButtonOClick(); }, logMb);
    Filter->ButtonCClick();

    report("add a " + n + "-contact log", 1, Bench::goal(2000, 20000), [] {}, [] { Form3->LogAddLog2->click(); },
           2 * logMb);
    if (DM->Table1.recordCount() != 2 * Bench::logSize || !quiet.errors().isEmpty())
        std::fprintf(stderr, "merge incomplete: %d rows\n", DM->Table1.recordCount());
    destroyWindowSet();
    return 0;
}
