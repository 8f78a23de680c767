// The main window on a 100,000-contact log (BENCH_CONTACTS) with the full
// installed prefix tables, the main window shown: one keystroke in the
// callsign field up to the idle event loop (contest off, on, and on with the
// contest window shown, also with its painting), and one save with its award marks; then the first
// keystroke after each walk that changes the log. Prints medians and 99th
// percentiles.

#include "AdifGenerator.h"
#include "LogGenerator.h"
#include "SaveSteps.h"
#include "Timing.h"
#include "core/CtyImport.h"
#include "core/Filter.h"
#include "core/GlavnMod.h"
#include "core/ProgramDirectory.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "contest/UContst.h"
#include "platform/table/DbGrid.h"
#include "platform/table/Database.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// The median and the 99th percentile in milliseconds, each against its goal.
void report(const std::string &what, const std::vector<double> &micros, double medianGoalMs, double p99GoalMs)
{
    const std::string runs = "of " + std::to_string(micros.size());
    Bench::figure(what + ", median", Bench::median(micros) / 1000.0, "ms", medianGoalMs, runs);
    Bench::figure(what + ", p99", Bench::percentile99(micros) / 1000.0, "ms", p99GoalMs, runs);
}

// The one painting clock: a second filter would hide the paints from it.
Bench::PaintClock &paintClock()
{
    static Bench::PaintClock clock;
    return clock;
}

// Saves back to back, each timed until the event loop is idle; a refused
// save has no figure: the run fails.
std::vector<double> saveContacts(int count)
{
    std::vector<double> painting;
    const auto times = Bench::saveContacts(count, 0, paintClock(), painting);
    if (!times)
        std::exit(1);
    return *times;
}

// Types each callsign one character at a time, timing every keystroke from
// the key to the idle event loop: the handler and every piece of work it
// posts (the grids' catch-up among them). Painting is timed apart and kept
// out, unless `painted`.
std::vector<double> typeCalls(int calls, bool painted = false)
{
    std::vector<double> times;
    for (int i = 0; i < calls; ++i) {
        const QString call = Bench::callOf(i * 37 % Bench::logSize);
        Form3->MaskEditCall->clear();
        Bench::untilIdle(); // the operator's pause before the next callsign
        for (int k = 1; k <= call.size(); ++k) {
            const qint64 paintedBefore = paintClock().nanos;
            QElapsedTimer t;
            t.start();
            Form3->MaskEditCall->setText(call.left(k));
            Bench::untilIdle();
            const qint64 paint = painted ? 0 : paintClock().nanos - paintedBefore;
            times.push_back(double(t.nsecsElapsed() - paint) / 1000.0);
        }
    }
    return times;
}

// The first keystroke after a walk that changed the log, timed before the
// program has had an idle moment.
void firstKeystrokeAfter(const std::string &walk, const std::function<void()> &run)
{
    run();
    Form3->MaskEditCall->clear();
    QElapsedTimer t;
    t.start();
    Form3->MaskEditCall->setText(QStringLiteral("U"));
    Bench::figure("first keystroke after " + walk + ", contest on", double(t.nsecsElapsed()) / 1e6, "ms", 2,
                  "one run");
    QApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Bench::installProgram(dir.path(), true);
    {
        // A small second log to merge, and a small file to import.
        Db::Database second;
        second.setDirectory(dir.filePath(QStringLiteral("Log/Log2")));
        Db::Table log(&second, QStringLiteral("Tarnel"));
        log.open();
        Bench::generateLog(log, 1000);
        QFile adi(dir.filePath(QStringLiteral("walk.adi")));
        if (!adi.open(QIODevice::WriteOnly) || adi.write(Bench::generateAdif([](int) { return ' '; }, 1000)) < 0)
            return 1;
    }
    QDir::setCurrent(dir.path());
    Ui::ScriptedDialogs quiet;
    createWindowSet();
    // The operator types into the shown main window, once start-up is done.
    Form3->showWindow();
    while (Form3->Label23->text() != QLatin1String("vse"))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Bench::untilIdle();
    const double keyP99 = Bench::goal(1, 2);
    // Keystrokes whose work showed an error print nothing and stop the run.
    const auto keystrokes = [&quiet, keyP99](const std::string &what, bool painted = false) {
        const std::vector<double> times = typeCalls(300, painted);
        if (!quiet.errors().isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", what.c_str(), qPrintable(quiet.errors().join(u'\n')));
            std::exit(1);
        }
        if (!painted)
            report(what, times, 0.3, keyP99);
        return times;
    };
    keystrokes("keystroke, contest off");
    report("save with award marks", saveContacts(300), 1, 5);
    Form3->ContStart->setChecked(true);
    Form3->OptionRep->setEnabled(false);
    // Until the program's first idle moment after opening the log builds the
    // callsign counts, a keystroke counts on the log's index; here nothing is
    // idle, so the counts are built as that moment would.
    Form3->MaskEditCall->clear();
    QElapsedTimer first;
    first.start();
    Form3->MaskEditCall->setText(QStringLiteral("U"));
    const double firstMs = double(first.nsecsElapsed()) / 1e6;
    QElapsedTimer building;
    building.start();
    DM->Table7.buildPrefixCounts();
    const double buildingMs = double(building.nsecsElapsed()) / 1e6;
    // Saves slow enough for an idle moment between them leave the counts built.
    const bool builtBefore = buildingMs < 1;
    std::printf("%-56s %9.1f ms  (no goal: once, before the first idle moment)\n",
                builtBefore ? "first keystroke, counts already built when idle" : "first keystroke, counts not built yet",
                firstMs);
    std::printf("%-56s %9.1f ms  (no goal: done when idle)\n", "building the callsign counts", buildingMs);
    keystrokes("keystroke, contest on");
    report("save with award marks, contest on", saveContacts(300), 1, 5);
    // The contest window on show, its grid following the second cursor.
    Form3->ContStartClick();
    if (!Cont->isVisible()) {
        std::fprintf(stderr, "the contest window is not shown\n");
        return 1;
    }
    keystrokes("keystroke, contest window shown");
    report("save, contest window shown", saveContacts(300), 1, 5);
    const std::vector<double> painted = keystrokes("keystroke, contest window shown, painted", true);
    std::printf("%-56s median %.3f ms, p99 %.3f ms (no goal: mostly Qt's drawing)\n",
                "keystroke, contest window shown, painted", Bench::median(painted) / 1000.0,
                Bench::percentile99(painted) / 1000.0);
    firstKeystrokeAfter("a merge", [] { Form3->LogAddLog2->click(); });
    firstKeystrokeAfter("an import", [&] {
        quiet.answers.push_back(Ui::Answer::No);
        quiet.fileNames.push_back(dir.filePath(QStringLiteral("walk.adi")));
        Form3->LogImportAdifClick();
    });
    firstKeystrokeAfter("Refresh", [] { Form3->Refresh1Click(); });
    // Clear under a filter: one band and mode of the log.
    Filter->FormActivate();
    Filter->CheckBoxB->setChecked(true);
    Filter->ComboBoxB->setCurrentText(QStringLiteral("14"));
    Filter->CheckBoxM->setChecked(true);
    Filter->ComboBoxM->setCurrentText(QStringLiteral("CW"));
    Filter->ButtonOClick();
    firstKeystrokeAfter("Clear", [&] {
        quiet.answers.push_back(Ui::Answer::Yes);
        Form3->LogClearClick();
    });
    Filter->ButtonCClick();
    if (!quiet.errors().isEmpty())
        std::fprintf(stderr, "a walk failed: %s\n", qPrintable(quiet.errors().join(u'\n')));
    destroyWindowSet();
    return 0;
}
