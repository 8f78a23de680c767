#pragma once
// One ADIF record as the texts of one log row, or why it cannot be one.

#include "exchange/AdifReader.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>
#include <span>

namespace AdifContact {

// ADIF band names and the band keys of the log, both ways.
struct BandName {
    QLatin1StringView adif; // "20M"
    QLatin1StringView key;  // "14"
};
std::span<const BandName> bandNames();

struct Contact {
    QString call;    // upper-cased
    QString date;    // "dd.MM.yyyy"
    QString time;    // "HH:mm", seconds dropped
    QString band;    // band key ("14", "Satellite"), else BAND or FREQ text cut to 6
    QString rawBand; // BAND upper-cased; "SAT" marks the satellite cells
    QString mode;    // upper-cased
    QString rstRx;
    QString rstTx;
    QString name;
    QString qth;
    QString txQsl; // with QSL_SENT "Y": its date (if any) + two blanks + "Y", at most 12; else ""
    QString rxQsl;
    QString notepad; // QSL_VIA + three blanks + NOTES + COMMENT
    bool confirmed = false; // QSL_RCVD is "Y"
    // The duplicate test compares these with the log's rows.
    QDate qsoDate;
    QTime qsoTime; // hour and minute
};

struct Result {
    std::optional<Contact> contact; // nothing when rejected
    QString message;                // the one box a rejection shows, or "" for none
    QString reason;                 // the message without the record's call
};

Result fromRecord(const AdifRecord &record);

// A band key from the BAND text (any case): "20m" -> "14", "SAT" -> "Satellite".
std::optional<QString> bandOfName(const QString &band);
// A band key from a frequency in MHz, either decimal separator: "14,025" -> "14".
std::optional<QString> bandOfFrequency(const QString &freq);
// The import's band rule on one band text: a band name or a frequency in a
// band gives its key, any other text stays as it is. Put through it, a band
// the log holds and an imported one agree when they name the same band
// ("7.0" and "40M" both give "7").
QString bandKey(const QString &band);

} // namespace AdifContact
