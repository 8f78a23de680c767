// Start-up on a 100,000-contact log (BENCH_CONTACTS) with the installed
// prefix and award tables: the window set and the data module up to
// the first shown main window, and the resident memory of the running
// program. Each start is a fresh process; medians of several starts.

#include "LogGenerator.h"
#include "Timing.h"
#include "core/GlavnMod.h"
#include "core/ProgramDirectory.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/table/Database.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// One start in this process: prints "<milliseconds> <MB>"; exits non-zero,
// printing nothing, when the start-up showed an error or the log did not open
// whole.
int startOnce(const QString &programDir)
{
    QDir::setCurrent(programDir);
    Ui::ScriptedDialogs quiet;
    QElapsedTimer clock;
    clock.start();
    createWindowSet();
    Form3->showWindow();
    QApplication::processEvents();
    const double shown = double(clock.nsecsElapsed()) / 1e6;
    // Let start-up finish (settings shown and hidden) before measuring memory.
    while (Form3->Label23->text() != QLatin1String("vse"))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    const double mb = Bench::residentMb();
    const bool failed = !quiet.errors().isEmpty() || DM->Table1.recordCount() != Bench::logSize ||
                        !DM->Table2.isActive() || DM->Table2.recordCount() == 0;
    if (failed)
        std::fprintf(stderr, "start-up failed: %d contacts, %s\n", DM->Table1.recordCount(),
                     qPrintable(quiet.errors().join(u'\n')));
    else
        std::printf("%.1f %.1f\n", shown, mb);
    destroyWindowSet();
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("--once"))
        return startOnce(QString::fromLocal8Bit(argv[2]));

    QTemporaryDir dir;
    Bench::installProgram(dir.path(), true);
    std::vector<double> times;
    std::vector<double> memory;
    for (int run = 0; run < 5; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once"), dir.path()});
        if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            std::fprintf(stderr, "start-up run failed: %s\n", child.readAllStandardError().constData());
            return 1;
        }
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        bool timeRead = false, memoryRead = false;
        times.push_back(parts.value(0).toDouble(&timeRead));
        memory.push_back(parts.value(1).toDouble(&memoryRead));
        if (parts.size() != 2 || !timeRead || !memoryRead) {
            std::fprintf(stderr, "start-up run printed no figures\n");
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::sort(memory.begin(), memory.end());
    const double ms = times[times.size() / 2];
    const double mb = memory[memory.size() / 2];
    const std::string n = Bench::contactsText();
    Bench::figure("window set + data module to shown main window (" + n + ")", ms, "ms", 250, "median of 5 starts");
    Bench::figure("resident memory after start-up (" + n + ")", mb, "MB", 64, "median of 5 starts");
    return 0;
}
