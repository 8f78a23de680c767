#pragma once
// The rules of saving a contact that need no window: the entry checks, the
// contest serial number and the contest points.

#include <QString>
#include <optional>

namespace ContactSave {

enum class Field { Call, RstRx, RstTx };

struct Failure {
    QString message; // "Not Callsign", "Not RST Rx", "Not RST Tx"
    Field field;     // where the focus goes
};

// The checks, in their order; the first that fails.
std::optional<Failure> checkEntry(const QString &call, const QString &rstRx, const QString &rstTx);

// A name or QTH of exactly "*" saves as empty.
QString withoutStar(const QString &text);

// The next sent number: `sent` plus `step`, with "00" before one digit and
// "0" before two ("7" -> "007"); nothing when either is not an integer.
std::optional<QString> nextSentNumber(const QString &sent, const QString &step);

// The contest settings' point field of a band key and mode: "Point" + band
// token + mode suffix ("Point180s" for SSB on 18 MHz); nothing for a band that
// matches none of the fourteen keys.
std::optional<QString> pointFieldName(const QString &band, const QString &mode);

// Factor times the point value, in the general number format ("3", "1,5");
// nothing when the point value is not a number.
std::optional<QString> contestPoints(int factor, const QString &pointValue);

// A running total plus the points of one contact (a total that is not a
// number counts as 0).
QString addPoints(const QString &total, const QString &points);

} // namespace ContactSave
