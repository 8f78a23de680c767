// Table engine timings on a generated 100,000-contact log (BENCH_CONTACTS).
// Prints medians.

#include "LogGenerator.h"
#include "Timing.h"
#include "core/TableSchemas.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Bench::callOf;
using Bench::countryOf;
using Bench::logSize;

double medianMicros(int runs, const std::function<void(int)> &body)
{
    std::vector<double> times;
    times.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        body(i);
        times.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[size_t(runs / 2)];
}

// One move, look-up or post: well under a millisecond.
void report(const char *what, double micros)
{
    Bench::figure(what, micros / 1000.0, "ms", 0.2, "median");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Db::Database database(QStringLiteral("Log1"));
    database.setDirectory(dir.path());
    database.createTable(TableSchemas::log());
    Db::Table table1(&database, QStringLiteral("Tarnel"));
    Db::Table table7(&database, QStringLiteral("Tarnel"));
    table1.open();
    QElapsedTimer fill;
    fill.start();
    Bench::generateLog(table1);
    if (table1.recordCount() != logSize) {
        std::fprintf(stderr, "the log holds %d of %d contacts\n", table1.recordCount(), logSize);
        return 1;
    }
    std::printf("generated %d contacts in %.1f s\n", logSize, double(fill.elapsed()) / 1000.0);
    // As many posts as an import of the log makes, without its other work.
    Bench::report("post " + Bench::contactsText() + " rows in one transaction", double(fill.nsecsElapsed()) / 1e6,
                  Bench::goal(3000, 30000), 1);
    table7.open();
    table1.setIndexName(QStringLiteral("ByDatTim"));
    table1.last();
    table7.setIndexName(QStringLiteral("ByCall"));

    const int runs = 2000;
    auto rnd = [](int i) { return int((quint64(i) * 2654435761u) % logSize); };
    report("locate LogCall, hit (ByDatTim order)",
           medianMicros(runs, [&](int i) { table1.locate(QStringLiteral("LogCall"), callOf(rnd(i))); }));
    report("locate LogCall, miss (ByDatTim order)",
           medianMicros(runs, [&](int i) { table1.locate(QStringLiteral("LogCall"), callOf(rnd(i)) + u'Q'); }));
    report("locate LogObl, hit (ByDatTim order)",
           medianMicros(runs, [&](int i) { table1.locate(QStringLiteral("LogObl"), countryOf(i)); }));
    report("locate LogObl, miss (ByDatTim order)",
           medianMicros(runs, [&](int i) { table1.locate(QStringLiteral("LogObl"), countryOf(i) + u'x'); }));
    report("locate LogCall, hit (ByCall order)",
           medianMicros(runs, [&](int i) { table7.locate(QStringLiteral("LogCall"), callOf(rnd(i))); }));
    report("range on ByCall + record count (one call)", medianMicros(runs, [&](int i) {
               const QString call = callOf(rnd(i));
               table7.setRange(call, call);
               (void)table7.recordCount();
           }));
    report("range on ByCall + record count (prefix)", medianMicros(runs, [&](int i) {
               const QString call = callOf(rnd(i)).left(4);
               table7.setRange(call, call + QStringLiteral("ZZZZ"));
               (void)table7.recordCount();
           }));
    table7.cancelRange();
    table1.first();
    report("next (ByDatTim)", medianMicros(runs, [&](int) { table1.next(); }));
    report("prior (ByDatTim)", medianMicros(runs, [&](int) { table1.prior(); }));
    table1.setIndexName(QStringLiteral("ByBand"));
    table1.first();
    report("next (ByBand, many equal keys)", medianMicros(runs, [&](int) { table1.next(); }));
    auto walk = [](Db::Table &t, const QString &index) {
        t.setIndexName(index);
        return medianMicros(3, [&](int) {
                   int rows = 0;
                   for (t.first(); !t.eof(); t.next())
                       ++rows;
                   if (rows != logSize) {
                       std::fprintf(stderr, "walk saw only %d rows\n", rows);
                       std::exit(1);
                   }
               }) / 1000.0;
    };
    // A cursor walk over the log, held to the goal of the log's walks.
    const std::string rows = Bench::contactsText();
    Bench::report("walk " + rows + " rows with next() (ByDatTim)", walk(table1, QStringLiteral("ByDatTim")),
                  Bench::goal(1000, 8000), 3);
    Bench::report("walk " + rows + " rows with next() (ByCall)", walk(table7, QStringLiteral("ByCall")),
                  Bench::goal(1000, 8000), 3);
    table1.setIndexName(QStringLiteral("ByDatTim"));
    report("post of a new row (durable on return)", medianMicros(500, [&](int i) {
               table1.append();
               table1.fieldByName(QStringLiteral("LogCall")).setAsString(callOf(i));
               table1.fieldByName(QStringLiteral("LogDate")).setAsString(QStringLiteral("08.12.2026"));
               table1.fieldByName(QStringLiteral("LogTime")).setAsString(QStringLiteral("12:00:00"));
               table1.fieldByName(QStringLiteral("LogBand")).setAsString(QStringLiteral("14"));
               table1.post();
           }));
    report("record count, whole log (after a post)", medianMicros(200, [&](int i) {
               if (i % 2 == 0) {
                   table1.append();
                   table1.fieldByName(QStringLiteral("LogCall")).setAsString(QStringLiteral("X"));
                   table1.post();
               }
               (void)table1.recordCount();
           }));
    return 0;
}
