// ADIF parsing of a generated 100,000-contact file, as other loggers write it:
// one record per line, and one field per line. Prints medians.

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

namespace {

void field(QByteArray &out, const char *name, const QByteArray &value, char separator)
{
    out += '<';
    out += name;
    out += ':';
    out += QByteArray::number(value.size());
    out += '>';
    out += value;
    out += separator;
}

QByteArray generateFile(char separator)
{
    static const char *const bands[] = {"160M", "80M", "40M", "30M", "20M", "17M", "15M", "12M", "10M", "6M"};
    static const char *const freqs[] = {"1.830", "3.525", "7.025", "10.120", "14.025",
                                        "18.080", "21.025", "24.900", "28.025", "50.100"};
    static const char *const modes[] = {"CW", "SSB", "FT8", "RTTY"};
    QByteArray out = "Generated for the benchmark\n<ADIF_VER:5>3.1.4\n<PROGRAMID:5>Bench\n<EOH>\n";
    out.reserve(Bench::logSize * 240);
    const QDate start(2015, 1, 1);
    for (int i = 0; i < Bench::logSize; ++i) {
        field(out, "CALL", Bench::callOf(i * 7919 % Bench::logSize).toLatin1(), separator);
        field(out, "QSO_DATE", start.addDays(i / 30).toString(u"yyyyMMdd").toLatin1(), separator);
        field(out, "TIME_ON", QTime(0, 0).addSecs(i % 30 * 2000).toString(u"HHmmss").toLatin1(), separator);
        field(out, "BAND", bands[i % 10], separator);
        field(out, "FREQ", freqs[i % 10], separator);
        field(out, "MODE", modes[i % 4], separator);
        field(out, "RST_SENT", i % 2 ? "599" : "59", separator);
        field(out, "RST_RCVD", i % 3 ? "579" : "57", separator);
        field(out, "NAME", i % 7 ? "Walter" : "Jörg", separator);
        field(out, "QTH", i % 5 ? "Dortmund" : "41900 Petäjävesi", separator);
        field(out, "GRIDSQUARE", "JO31AB", separator);
        field(out, "QSL_RCVD", i % 4 ? "N" : "Y", separator);
        out += "<EOR>\n";
    }
    return out;
}

void report(const char *what, double millis, double limit)
{
    std::printf("%-52s %8.1f ms%s\n", what, millis, millis < limit ? "" : "   (over the limit)");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = 7;
    for (const auto &[layout, separator] : {std::pair{"one record per line", ' '}, {"one field per line", '\n'}}) {
        const QByteArray file = generateFile(separator);
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
        report("  parse (file to records)", parse, 150);
        report("  parse and convert (records to log texts)", convert, 1000);
    }
    return 0;
}
