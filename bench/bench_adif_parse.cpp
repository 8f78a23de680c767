// ADIF parsing of a generated 100,000-contact file (BENCH_CONTACTS), as other loggers write it:
// one record per line, and one field per line. Prints medians.

#include "AdifGenerator.h"
#include "LogGenerator.h"
#include "Timing.h"
#include "exchange/AdifContact.h"
#include "exchange/AdifReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = 7;
    for (const auto &[layout, separator] : {std::pair{"one record per line", ' '}, {"one field per line", '\n'}}) {
        const QByteArray file = Bench::generateAdif([separator](int) { return separator; });
        int records = 0, contacts = 0;
        const double parse = Bench::medianMillis(runs, [&] {
            AdifReader reader(file);
            records = 0;
            while (reader.next())
                ++records;
        });
        const double convert = Bench::medianMillis(runs, [&] {
            AdifReader reader(file);
            contacts = 0;
            while (const auto record = reader.next())
                contacts += AdifContact::fromRecord(*record).contact ? 1 : 0;
        });
        std::printf("%s: %.1f MB, %d records, %d contacts\n", layout, double(file.size()) / 1e6, records, contacts);
        if (records != Bench::logSize || contacts != Bench::logSize) {
            std::fprintf(stderr, "%s: %d records and %d contacts of %d\n", layout, records, contacts, Bench::logSize);
            return 1;
        }
        Bench::report("  parse (file to records)", parse, Bench::goal(150, 1500), runs);
        Bench::report("  parse and convert (records to log texts)", convert, Bench::goal(1000, 10000), runs);
    }
    return 0;
}
