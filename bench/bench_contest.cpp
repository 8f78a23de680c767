// The contest window's "Refr" recount over a 100,000-contact log, with points
// on every contact, as it runs at every band change during a contest. Prints
// medians.

#include "LogGenerator.h"
#include "Timing.h"
#include "contest/ContestCount.h"
#include "contest/UContst.h"
#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/format/TextFormat.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// The sum of the generated points: 3, 1,5, 0 and none in turn.
QString expectedTotal()
{
    double sum = 0;
    for (int i = 0; i < Bench::logSize; ++i)
        sum += i % 4 == 0 ? 3 : i % 4 == 1 ? 1.5 : 0;
    return TextFormat::numberText(sum);
}

// Prints the median, or nothing and false when a run's total is not the
// sum of the log's points (or an error was shown).
bool report(const std::string &what, int runs, double limitMs, const std::function<void()> &run,
            const Ui::ScriptedDialogs &dialogs)
{
    // CPU time beside wall time: on a loaded machine the wall time says
    // more about the neighbours than about the recount.
    std::vector<double> ms, cpu;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t c = std::clock();
        QElapsedTimer t;
        t.start();
        run();
        Bench::untilIdle();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(double(std::clock() - c) * 1000.0 / CLOCKS_PER_SEC);
        if (Cont->Label5->text() != expectedTotal() || !dialogs.errors().isEmpty()) {
            std::fprintf(stderr, "%s: total %s, expected %s\n", what.c_str(), qPrintable(Cont->Label5->text()),
                         qPrintable(expectedTotal()));
            return false;
        }
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    const double median = ms[ms.size() / 2];
    Bench::figure(what, median, "ms", limitMs,
                  "median of " + std::to_string(runs) + ", CPU " + std::to_string(int(cpu[cpu.size() / 2])) + " ms");
    return true;
}

// A contest log: the generated contacts, each with points, whole, half or
// empty (imported).
void installContestLog(const QString &dir)
{
    ProgramDirectory::installEmptyTables(dir);
    Db::Database database;
    database.setDirectory(dir + QStringLiteral("/Log/Log1"));
    Db::Table log(&database, QStringLiteral("Tarnel"));
    log.open();
    static const char *const points[] = {"3", "1,5", "0", ""};
    Db::TableTransaction walk(log);
    const QDate start(2015, 1, 1);
    for (int i = 0; i < Bench::logSize; ++i) {
        log.append();
        log.fieldByName(QStringLiteral("LogCall")).setAsString(Bench::callOf(int(qint64(i) * 7919 % Bench::logSize)));
        log.fieldByName(QStringLiteral("LogDate")).setAsDate(start.addDays(i / 300));
        log.fieldByName(QStringLiteral("LogTime")).setAsString(QTime(0, 0).addSecs(i % 300 * 200).toString(u"HH:mm:ss"));
        log.fieldByName(QStringLiteral("LogBand")).setAsString(QStringLiteral("14"));
        log.fieldByName(QStringLiteral("LogMode")).setAsString(QStringLiteral("CW"));
        log.fieldByName(QStringLiteral("Log3")).setAsString(QString::number(i + 1).rightJustified(3, u'0'));
        log.fieldByName(QStringLiteral("Log4")).setAsString(QString::fromLatin1(points[i % 4]));
        log.post();
    }
    walk.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    installContestLog(dir.path());
    QDir::setCurrent(dir.path());
    Ui::ScriptedDialogs quiet;
    createWindowSet();

    if (!report("\"Refr\" recount, " + Bench::contactsText() + " contacts", 9, Bench::goal(300, 3000),
                [] { Cont->Button1->click(); }, quiet))
        return 1;
    Form3->ViewSortCall->click();
    if (!report("\"Refr\" recount, sorted by call", 9, Bench::goal(300, 3000), [] { Cont->Button1->click(); }, quiet))
        return 1;
    std::printf("total %s\n", qPrintable(Cont->Label5->text()));

    destroyWindowSet();
    return 0;
}
