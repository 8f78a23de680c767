// Start-up on a 100,000-contact log (BENCH_CONTACTS): the window set and the data module up to
// the first shown main window, and the resident memory of the running
// program. Each start is a fresh process; medians of several starts.

#include "LogGenerator.h"
#include "Timing.h"
#include "core/GlavnMod.h"
#include "core/ProgramDirectory.h"
#include "core/Unit3.h"
#include "platform/table/Database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// One start in this process: prints "<milliseconds> <MB>".
int startOnce(const QString &programDir)
{
    QDir::setCurrent(programDir);
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
    std::printf("%.1f %.1f\n", shown, Bench::residentMb());
    destroyWindowSet();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("--once"))
        return startOnce(QString::fromLocal8Bit(argv[2]));

    QTemporaryDir dir;
    Bench::installProgram(dir.path(), false);
    std::vector<double> times;
    std::vector<double> memory;
    for (int run = 0; run < 5; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once"), dir.path()});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            std::fprintf(stderr, "start-up run failed: %s\n", child.readAllStandardError().constData());
            return 1;
        }
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        times.push_back(parts.value(0).toDouble());
        memory.push_back(parts.value(1).toDouble());
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
