#pragma once
// A generated ADIF file of 100,000 contacts of the kind other loggers write,
// for the import and parsing benchmarks (and, smaller, the killed imports).

#include "LogGenerator.h"

#include <QByteArray>
#include <QDate>
#include <QTime>
#include <functional>

namespace Bench {

namespace detail {

inline void field(QByteArray &out, const char *name, const QByteArray &value, char separator)
{
    out += '<';
    out += name;
    out += ':';
    out += QByteArray::number(value.size());
    out += '>';
    out += value;
    out += separator;
}

} // namespace detail

// Each record's fields end with `separatorOf(record number)`: a blank for one
// record per line, a line end for one field per line. The contacts are those
// of generateLog(), every band and mode, with what other loggers add.
inline QByteArray generateAdif(const std::function<char(int)> &separatorOf, int count = Bench::logSize)
{
    static const char *const bands[] = {"160M", "80M", "40M", "30M", "20M", "17M", "15M",
                                        "12M",  "10M", "6M",  "2M",  "70CM", "23CM"};
    static const char *const freqs[] = {"1.830",  "3.525",  "7.025",  "10.120", "14.025",  "18.080",  "21.025",
                                        "24.900", "28.025", "50.100", "144.300", "432.200", "1296.200"};
    static const char *const modes[] = {"CW", "SSB", "FT8", "RTTY", "FM", "AM", "PSK31", "JT65"};
    QByteArray out = "Generated for the benchmark\n<ADIF_VER:5>3.1.4\n<PROGRAMID:5>Bench\n<EOH>\n";
    out.reserve(qsizetype(count) * 260);
    for (int i = 0; i < count; ++i) {
        const char separator = separatorOf(i);
        const int band = int(mix(quint32(i), 7) % 13);
        detail::field(out, "CALL", Bench::callOf(int(qint64(i) * 7919 % count)).toLatin1(), separator);
        detail::field(out, "QSO_DATE", dateOf(i).toString(u"yyyyMMdd").toLatin1(), separator);
        detail::field(out, "TIME_ON", timeOf(i).toString(u"HHmmss").toLatin1(), separator);
        detail::field(out, "BAND", bands[band], separator);
        detail::field(out, "FREQ", freqs[band], separator);
        detail::field(out, "MODE", modes[mix(quint32(i), 8) % 8], separator);
        detail::field(out, "RST_SENT", i % 2 ? "599" : "59", separator);
        detail::field(out, "RST_RCVD", i % 3 ? "579" : "57", separator);
        detail::field(out, "NAME", names()[int(mix(quint32(i), 9) % quint32(names().size()))].toUtf8(), separator);
        detail::field(out, "QTH", qths()[int(mix(quint32(i), 10) % quint32(qths().size()))].toUtf8(), separator);
        detail::field(out, "GRIDSQUARE", "JO31AB", separator);
        detail::field(out, "QSL_RCVD", i % 4 ? "N" : "Y", separator);
        out += "<EOR>\n";
    }
    return out;
}

} // namespace Bench
