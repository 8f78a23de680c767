// The awards rebuild with Yes over 100,000 contacts (BENCH_CONTACTS) with the full installed
// prefix tables (every contact's stored country differs, so every one is
// written back), and the counting the awards window runs. Prints medians and
// the peak memory of the rebuild.

#include "LogGenerator.h"
#include "Timing.h"
#include "../tests/core/ProgramTables.h"
#include "awards/AwardCounts.h"
#include "awards/AwardMarks.h"
#include "awards/AwardsRebuild.h"

#include <QCoreApplication>
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

// The cursors the rebuild uses, the log in date order.
struct Program : ProgramTables {
    explicit Program(const QString &dir) : ProgramTables(dir) { lookup.setIndexName(QStringLiteral("ByDatTim")); }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir base;
    const QString master = base.filePath(QStringLiteral("master"));
    Bench::installProgram(master, true);
    std::printf("%d contacts; full prefix tables\n", Bench::logSize);

    const int rebuildRuns = Bench::large() ? 1 : 3, countRuns = 21;
    Bench::Runs fresh, again;
    std::vector<double> counting;
    double peak = 0, logMb = 0;
    for (int run = 0; run < rebuildRuns; ++run) {
        const QString dir = base.filePath(QStringLiteral("run%1").arg(run));
        Bench::copyTree(master, dir);
        Program p(dir);
        const AwardsRebuild::Tables tables{p.lookup, p.allpref, p.prefix, p.marks, p.dxcc, p.ur, p.waz};
        logMb = Bench::fileMb(p.lookup.filePath());
        peak = std::max(peak, Bench::peakGrowthMb([&] {
            fresh.time([&] { AwardsRebuild::rebuild(tables, true); });
        }));
        again.time([&] { AwardsRebuild::rebuild(tables, true); });
        if (run + 1 < rebuildRuns)
            continue;
        // The awards window counts with the prefix table closed: every row.
        p.prefix.close();
        int total = 0;
        for (int c = 0; c < countRuns; ++c)
            counting.push_back(Bench::millis([&] {
                total += AwardCounts::count(p.dxcc, false, AwardCounts::View::Worked).totals[0];
            }));
        std::printf("%d Dxcc rows, %d worked in CW\n", p.dxcc.recordCount(), total / countRuns);
        if (p.dxcc.recordCount() == 0 || total == 0) {
            std::fprintf(stderr, "the rebuild marked no country\n");
            return 1;
        }
    }
    fresh.report("rebuild with Yes, every country written back", Bench::goal(2000, 15000));
    Bench::reportPeak("rebuild with Yes", peak, logMb);
    again.report("rebuild with Yes again (countries already right)", Bench::goal(2000, 15000));
    Bench::report("counting Dxcc for the awards window", Bench::median(counting), 100, countRuns);
    return 0;
}
