// The main window on a 100,000-contact log (BENCH_CONTACTS) with the full
// installed prefix tables: one keystroke in the callsign field through the
// whole entry handler (contest off, and on with the contest window shown),
// and one save with its award marks. Prints medians and 99th percentiles.

#include "LogGenerator.h"
#include "Timing.h"
#include "core/CtyImport.h"
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
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The median and the 99th percentile in milliseconds, each against its goal.
void report(const std::string &what, const std::vector<double> &micros, double medianGoalMs, double p99GoalMs)
{
    const std::string runs = "of " + std::to_string(micros.size());
    Bench::figure(what + ", median", Bench::median(micros) / 1000.0, "ms", medianGoalMs, runs);
    Bench::figure(what + ", p99", Bench::percentile99(micros) / 1000.0, "ms", p99GoalMs, runs);
}

// Saves contacts through the save button, timing each save.
std::vector<double> saveContacts(int count)
{
    std::vector<double> times;
    Form3->MaskEditDate->setText(QStringLiteral("08.12.2026"));
    Form3->MaskEditTime->setText(QStringLiteral("20:00:00"));
    const int before = DM->Table1.recordCount();
    for (int i = 0; i < count; ++i) {
        Form3->MaskEditCall->setText(Bench::callOf(i * 53 % Bench::logSize));
        QElapsedTimer t;
        t.start();
        Form3->ButtonSaveClick();
        times.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    if (DM->Table1.recordCount() != before + count)
        std::fprintf(stderr, "saves failed: %d of %d rows added\n", DM->Table1.recordCount() - before, count);
    return times;
}

// Types each callsign one character at a time, timing every keystroke.
std::vector<double> typeCalls(int calls)
{
    std::vector<double> times;
    for (int i = 0; i < calls; ++i) {
        const QString call = Bench::callOf(i * 37 % Bench::logSize);
        Form3->MaskEditCall->clear();
        for (int k = 1; k <= call.size(); ++k) {
            QElapsedTimer t;
            t.start();
            Form3->MaskEditCall->setText(call.left(k));
            times.push_back(double(t.nsecsElapsed()) / 1000.0);
        }
    }
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Bench::installProgram(dir.path(), true);
    QDir::setCurrent(dir.path());
    Ui::ScriptedDialogs quiet;
    createWindowSet();
    const double keyP99 = Bench::goal(1, 2);
    report("keystroke, contest off", typeCalls(300), 0.3, keyP99);
    report("save with award marks", saveContacts(300), 1, 5);
    // As the operator starts a contest: the contest window shown beside.
    Form3->ContStart->click();
    if (!Cont->isVisible())
        std::fprintf(stderr, "the contest window is not shown\n");
    report("keystroke, contest on", typeCalls(300), 0.3, keyP99);
    report("save with award marks, contest on", saveContacts(300), 1, 5);
    destroyWindowSet();
    return 0;
}
