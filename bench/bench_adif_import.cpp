// The ADIF import and the two exports on 100,000 contacts, with the full
// installed prefix tables: a generated file of the kind other loggers write,
// imported into an empty log, imported again (all duplicates), then exported
// as ADIF and as text. The walks run as plain logic on cursors set up as the
// data module sets them up; one import and one export also run through the
// main window. Prints medians.

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

    const int importRuns = 3, exportRuns = 5;
    std::vector<double> imports, reimports, adif, text;
    for (int run = 0; run < importRuns; ++run) {
        const QString dir = base.filePath(QStringLiteral("run%1").arg(run));
        Bench::copyTree(empty, dir);
        Program p(dir);
        LogImport::Counts c;
        imports.push_back(Bench::millis([&] { c = p.import(file); }));
        check(c, n, 0);
        reimports.push_back(Bench::millis([&] { c = p.import(file); }));
        check(c, 0, n);
        if (run + 1 < importRuns)
            continue;
        for (int e = 0; e < exportRuns; ++e) {
            QByteArray bytes;
            adif.push_back(Bench::millis([&] { LogExport::exportAdif(p.log, dir + QStringLiteral("/bench"), {}); }));
            text.push_back(Bench::millis([&] { LogExport::exportText(p.log, dir + QStringLiteral("/bench"), {}); }));
        }
    }
    Bench::report("import into an empty log", Bench::median(imports), 3000, importRuns);
    Bench::report("import again (all duplicates)", Bench::median(reimports), 2000, importRuns);
    Bench::report("ADIF export", Bench::median(adif), 1000, exportRuns);
    Bench::report("text export", Bench::median(text), 1000, exportRuns);

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
        Bench::report("main window: import into an empty log", Bench::millis([] { Form3->LogImportAdifClick(); }), 3000, 1);
        quiet.fileNames.push_back(windowDir + QStringLiteral("/out"));
        Bench::report("main window: ADIF export", Bench::millis([] { Form3->LogExportAdifClick(); }), 1000, 1);
        if (!quiet.errors().isEmpty() || DM->Table1.recordCount() != n)
            std::fprintf(stderr, "the window's import failed: %d rows\n", DM->Table1.recordCount());
        destroyWindowSet();
    }
    return 0;
}
