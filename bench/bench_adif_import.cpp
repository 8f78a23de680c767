// The ADIF import and the two exports on 100,000 contacts (BENCH_CONTACTS), with the full
// installed prefix tables: a generated file of the kind other loggers write,
// imported into an empty log, imported again (all duplicates), then exported
// as ADIF and as text. The walks run as plain logic on cursors set up as the
// data module sets them up; one import and one export also run through the
// main window. Prints medians, and the peak memory of each walk.

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
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The cursors the import and the exports use, the log in date order.
struct Program : ProgramTables {
    explicit Program(const QString &dir) : ProgramTables(dir)
    {
        log.setIndexName(QStringLiteral("ByDatTim"));
        lookup.setIndexName(QStringLiteral("ByDatTim"));
    }
    LogImport::Counts import(const QByteArray &file)
    {
        return LogImport::importFile(file, {log, lookup, allpref, prefix, marks, dxcc, ur, waz}, [](int) {});
    }
};

void check(const LogImport::Counts &c, int added, int duplicates)
{
    if (c.added != added || c.duplicates != duplicates || c.rejected != 0)
        std::fprintf(stderr, "unexpected counts: %d new, %d duplicates, %d rejected\n", c.added, c.duplicates,
                     c.rejected);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir base;
    const QString empty = base.filePath(QStringLiteral("empty"));
    CtyImport::installMissingTables(QStringLiteral("/usr/share/hamradio-files"), empty);
    ProgramDirectory::installEmptyTables(empty);
    // Half the records one field per line, half one record per line.
    const QByteArray file = Bench::generateAdif([](int i) { return i % 2 ? ' ' : '\n'; });
    const int n = Bench::logSize;
    std::printf("%.1f MB, %d records; full prefix tables\n", double(file.size()) / 1e6, n);

    const int importRuns = Bench::large() ? 1 : 3, exportRuns = Bench::large() ? 3 : 5;
    Bench::Runs imports, reimports, adif, text;
    double importPeak = 0, reimportPeak = 0, adifPeak = 0, textPeak = 0, logMb = 0;
    for (int run = 0; run < importRuns; ++run) {
        const QString dir = base.filePath(QStringLiteral("run%1").arg(run));
        Bench::copyTree(empty, dir);
        Program p(dir);
        LogImport::Counts c;
        importPeak = std::max(importPeak, Bench::peakGrowthMb([&] {
            imports.time([&] { c = p.import(file); });
        }));
        check(c, n, 0);
        reimportPeak = std::max(reimportPeak, Bench::peakGrowthMb([&] {
            reimports.time([&] { c = p.import(file); });
        }));
        check(c, 0, n);
        if (run + 1 < importRuns)
            continue;
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
    const double fileMb = double(file.size()) / (1024.0 * 1024.0);
    imports.report("import into an empty log", Bench::goal(3000, 30000));
    Bench::reportPeak("import into an empty log", importPeak, fileMb);
    reimports.report("import again (all duplicates)", Bench::goal(2000, 8000));
    Bench::reportPeak("import again", reimportPeak, fileMb);
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
    QFile adi(windowDir + QStringLiteral("/bench.adi"));
    if (!adi.open(QIODevice::WriteOnly) || adi.write(file) != file.size())
        return 1;
    adi.close();
    QDir::setCurrent(windowDir);
    {
        Ui::ScriptedDialogs quiet;
        createWindowSet();
        quiet.answers.push_back(Ui::Answer::No);
        quiet.fileNames.push_back(adi.fileName());
        Bench::report("main window: import into an empty log", Bench::millis([] { Form3->LogImportAdifClick(); }),
                      Bench::goal(3000, 30000), 1);
        quiet.fileNames.push_back(windowDir + QStringLiteral("/out"));
        Bench::report("main window: ADIF export", Bench::millis([] { Form3->LogExportAdifClick(); }),
                      Bench::goal(1000, 8000), 1);
        if (!quiet.errors().isEmpty() || DM->Table1.recordCount() != n)
            std::fprintf(stderr, "the window's import failed: %d rows\n", DM->Table1.recordCount());
        destroyWindowSet();
    }
    return 0;
}
