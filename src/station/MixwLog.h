#pragma once
// Reading the MixW log: its last line is the latest contact, fields
// separated by ';' and numbered from 1.

#include <QString>

namespace MixwLog {

struct Contact {
    QString call;    // field 2
    QString stamp;   // field 3, yyyymmddhhmm
    QString date;    // dd.mm.yyyy from the stamp; empty without one
    QString time;    // hh:mm:00 from the stamp; empty without one
    QString band;    // field 7 by the band rule
    QString mode;    // field 10, "BPSK" for any BPSK
    QString rstTx;   // field 11
    QString rstRx;   // field 12
    QString name;    // field 15
    QString qth;     // field 16
    QString line2;   // field 17
    QString notes;   // field 19
    QString extra;   // field 21
};

// The last line of the file's text; a text ending in a line break gives the
// line before it, so only a blank last line gives an empty one.
QString lastLine(const QString &text);

// A field counts only when a ';' follows it: a last field without one, and
// every field beyond, read as empty.
Contact parse(const QString &line);

// The band key of a frequency in kHz, by its leading characters; a text no
// rule knows stays as it is.
QString bandKey(const QString &frequency);

} // namespace MixwLog
