// The main window on a 100,000-contact log (or as many as the first argument
// says) with the full installed prefix tables: one keystroke in the callsign
// field through the whole entry handler (contest off, on, and on with the
// contest window shown and painted), and one save with its award marks.
// Prints medians and 99th percentiles.

#include "LogGenerator.h"
#include "core/CtyImport.h"
#include "core/GlavnMod.h"
#include "core/ProgramDirectory.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
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

void report(const char *what, std::vector<double> micros, double medianLimit, double p99Limit)
{
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    const double p99 = micros[micros.size() * 99 / 100];
    std::printf("%-40s median %8.1f us   p99 %8.1f us%s\n", what, median, p99,
                median < medianLimit && p99 < p99Limit ? "" : "   (over the target)");
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

// Types each callsign one character at a time, timing every keystroke; with
// `painted`, each keystroke includes the repaint of the shown windows it
// causes (Qt's drawing, mostly), otherwise they paint after it.
std::vector<double> typeCalls(int calls, bool painted = false)
{
    std::vector<double> times;
    for (int i = 0; i < calls; ++i) {
        const QString call = Bench::callOf(i * 37 % Bench::logSize);
        Form3->MaskEditCall->clear();
        for (int k = 1; k <= call.size(); ++k) {
            QElapsedTimer t;
            t.start();
            Form3->MaskEditCall->setText(call.left(k));
            if (painted)
                QApplication::processEvents();
            times.push_back(double(t.nsecsElapsed()) / 1000.0);
            QApplication::processEvents(); // the shown windows paint, reading their rows
        }
    }
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int contacts = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : Bench::logSize;
    QTemporaryDir dir;
    if (contacts == Bench::logSize) {
        Bench::installProgram(dir.path(), true);
    } else {
        CtyImport::installMissingTables(QStringLiteral("/usr/share/hamradio-files"), dir.path());
        ProgramDirectory::installEmptyTables(dir.path());
        Db::Database database;
        database.setDirectory(dir.path() + QStringLiteral("/Log/Log1"));
        Db::Table log(&database, QStringLiteral("Tarnel"));
        log.open();
        Bench::generateLog(log, contacts);
    }
    std::printf("%d contacts\n", contacts);
    QDir::setCurrent(dir.path());
    Ui::ScriptedDialogs quiet;
    createWindowSet();
    const double keystrokeP99 = contacts > Bench::logSize ? 2000 : 1000;
    report("keystroke, contest off", typeCalls(300), 1000, keystrokeP99);
    report("save with award marks", saveContacts(300), 1000, 5000);
    Form3->ContStart->setChecked(true);
    Form3->OptionRep->setEnabled(false);
    // The first count builds the callsign counts from the log's index.
    Form3->MaskEditCall->clear();
    QElapsedTimer first;
    first.start();
    Form3->MaskEditCall->setText(QStringLiteral("U"));
    std::printf("%-40s %8.1f ms\n", "first keystroke counting the log", double(first.nsecsElapsed()) / 1e6);
    report("keystroke, contest on", typeCalls(300), 1000, keystrokeP99);
    report("save with award marks, contest on", saveContacts(300), 1000, 5000);
    Form3->ContStartClick(); // the contest window on show, its grid following the second cursor
    report("keystroke, contest window shown", typeCalls(300), 1000, keystrokeP99);
    report("keystroke, contest window shown, painted", typeCalls(300, true), 1000, 1e9);
    report("save, contest window shown", saveContacts(300), 1000, 5000);
    destroyWindowSet();
    return 0;
}
