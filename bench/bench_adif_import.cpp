// The ADIF import and the two exports on 100,000 contacts (BENCH_CONTACTS), with the full
// installed prefix tables: a generated file of the kind other loggers write,
// imported into an empty log, imported again (all duplicates), then exported
// as ADIF and as text. The walks run as plain logic on cursors set up as the
// data module sets them up; one import and one export also run through the
// main window. Prints medians, and the peak memory of each walk.
//
// Each import runs in a process of its own (the benchmark starts itself again
// with "--import"), on the file written to disk before any figure is taken:
// its peak is what the operator meets, shared neither with the generation nor
// with another import. The figure is the growth of anonymous memory (RssAnon,
// sampled every millisecond) over what the process held before the import.

#include "AdifGenerator.h"
#include "LogGenerator.h"
#include "Timing.h"
#include "../tests/core/ProgramTables.h"
#include "awards/AwardMarks.h"
#include "core/CtyImport.h"
#include "core/GlavnMod.h"
#include "core/ProgramDirectory.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "exchange/LogExport.h"
#include "exchange/LogImport.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// The cursors the import and the exports use, the log in date order.
struct Program : ProgramTables {
    explicit Program(const QString &dir) : ProgramTables(dir)
    {
        log.setIndexName(QStringLiteral("ByDatTim"));
        lookup.setIndexName(QStringLiteral("ByDatTim"));
    }
    // As the main window imports: the file read from disk.
    LogImport::Counts import(const QString &path)
    {
        QFile adi(path);
        if (!adi.open(QIODevice::ReadOnly))
            return {};
        return LogImport::importFile(adi, {log, lookup, allpref, prefix, marks, dxcc, ur, waz}, [](int) {});
    }
};

// The highest anonymous memory seen while it runs, in MB: the kernel keeps a
// peak only of all resident memory, which counts the log's mapped pages too.
class AnonPeak {
public:
    AnonPeak()
        : peak_(Bench::residentMb("RssAnon:")), sampler_([this] {
              while (!done_) {
                  const double now = Bench::residentMb("RssAnon:");
                  if (now > peak_)
                      peak_ = now;
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    double stop()
    {
        done_ = true;
        sampler_.join();
        return std::max(peak_.load(), Bench::residentMb("RssAnon:"));
    }

private:
    std::atomic<double> peak_;
    std::atomic<bool> done_{false};
    std::thread sampler_;
};

// The child: one import of `path` into the log of `dir`. Prints its wall
// time, CPU time and anonymous peak growth; fails on unexpected counts.
int importChild(const QString &dir, const QString &path, int added, int duplicates)
{
    Program p(dir);
    const double before = Bench::residentMb("RssAnon:");
    AnonPeak peak;
    Bench::Runs run;
    LogImport::Counts c;
    run.time([&] { c = p.import(path); });
    const double growth = peak.stop() - before;
    if (c.added != added || c.duplicates != duplicates || c.rejected != 0) {
        std::fprintf(stderr, "unexpected counts: %d new, %d duplicates, %d rejected\n", c.added, c.duplicates,
                     c.rejected);
        return 1;
    }
    std::printf("%f %f %f\n", run.wall.front(), run.cpu.front(), growth);
    return 0;
}

// One import in a fresh process, its figures added to `runs` and `peak`;
// false when it failed.
bool importApart(const QString &dir, const QString &path, int added, int duplicates, Bench::Runs &runs, double &peak)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--import"), dir, path, QString::number(added), QString::number(duplicates)});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 3)
        return false;
    runs.wall.push_back(figures[0].toDouble());
    runs.cpu.push_back(figures[1].toDouble());
    peak = std::max(peak, figures[2].toDouble());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 6 && QByteArray(argv[1]) == "--import")
        return importChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]),
                           std::atoi(argv[5]));
    QTemporaryDir base;
    const QString empty = base.filePath(QStringLiteral("empty"));
    CtyImport::installMissingTables(QStringLiteral("/usr/share/hamradio-files"), empty);
    ProgramDirectory::installEmptyTables(empty);
    const QString adiPath = base.filePath(QStringLiteral("bench.adi"));
    {
        // Half the records one field per line, half one record per line.
        const QByteArray file = Bench::generateAdif([](int i) { return i % 2 ? ' ' : '\n'; });
        QFile adi(adiPath);
        if (!adi.open(QIODevice::WriteOnly) || adi.write(file) != file.size() || !adi.flush())
            return 1;
        std::printf("%.1f MB, %d records; full prefix tables\n", double(file.size()) / 1e6, Bench::logSize);
    }
    const int n = Bench::logSize;

    const int importRuns = Bench::large() ? 1 : 3, exportRuns = Bench::large() ? 3 : 5;
    Bench::Runs imports, reimports, adif, text;
    double importPeak = 0, reimportPeak = 0, adifPeak = 0, textPeak = 0, logMb = 0;
    for (int run = 0; run < importRuns; ++run) {
        const QString dir = base.filePath(QStringLiteral("run%1").arg(run));
        Bench::copyTree(empty, dir);
        if (!importApart(dir, adiPath, n, 0, imports, importPeak) ||
            !importApart(dir, adiPath, 0, n, reimports, reimportPeak)) {
            std::fprintf(stderr, "the import failed\n");
            return 1;
        }
        if (run + 1 < importRuns)
            continue;
        Program p(dir);
        logMb = Bench::fileMb(p.log.filePath());
        for (int e = 0; e < exportRuns; ++e) {
            adifPeak = std::max(adifPeak, Bench::peakGrowthMb([&] {
                adif.time([&] { LogExport::exportAdif(p.log, dir + QStringLiteral("/bench"), {}); });
            }));
            textPeak = std::max(textPeak, Bench::peakGrowthMb([&] {
                text.time([&] { LogExport::exportText(p.log, dir + QStringLiteral("/bench"), {}); });
            }));
        }
    }
    // The import's own memory, the file on disk not counted: under 200 MB at
    // 1,000,000 contacts, under 40 MB at 100,000.
    const double peakGoal = Bench::goal(40, 200);
    imports.report("import into an empty log", Bench::goal(3000, 30000));
    Bench::figure("import into an empty log (peak anonymous growth)", importPeak, "MB", peakGoal, "own process");
    reimports.report("import again (all duplicates)", Bench::goal(2000, 8000));
    Bench::figure("import again (peak anonymous growth)", reimportPeak, "MB", peakGoal, "own process");
    adif.report("ADIF export", Bench::goal(1000, 8000));
    Bench::reportPeak("ADIF export", adifPeak, logMb);
    text.report("text export", Bench::goal(1000, 8000));
    Bench::reportPeak("text export", textPeak, logMb);
    if (Bench::large())
        return 0; // the window's walks are the same walks

    // The same through the main window: the progress window and the grid
    // around the walk add next to nothing.
    const QString windowDir = base.filePath(QStringLiteral("window"));
    Bench::copyTree(empty, windowDir);
    const QString windowAdi = windowDir + QStringLiteral("/bench.adi");
    if (!QFile::copy(adiPath, windowAdi))
        return 1;
    QDir::setCurrent(windowDir);
    Ui::ScriptedDialogs quiet;
    createWindowSet();
    quiet.answers.push_back(Ui::Answer::No);
    quiet.fileNames.push_back(windowAdi);
    const double importMs = Bench::millis([] { Form3->LogImportAdifClick(); });
    const bool imported = quiet.errors().isEmpty() && DM->Table1.recordCount() == n;
    if (imported) {
        Bench::report("main window: import into an empty log", importMs, Bench::goal(3000, 30000), 1);
        quiet.fileNames.push_back(windowDir + QStringLiteral("/out"));
        Bench::report("main window: ADIF export", Bench::millis([] { Form3->LogExportAdifClick(); }),
                      Bench::goal(1000, 8000), 1);
    } else {
        std::fprintf(stderr, "the window's import failed: %d rows\n", DM->Table1.recordCount());
    }
    destroyWindowSet();
    return imported ? 0 : 1;
}
