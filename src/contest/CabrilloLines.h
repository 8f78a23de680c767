#pragma once
// The lines of a Cabrillo contest log: the header with its tags, one "QSO: "
// line per contact with its pieces in fixed columns, and the closing tag.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

namespace CabrilloLines {

struct Header {
    QString contest; // joined with `mode` without a separator
    QString mode;
    QString callsign;
    QString category;
    QString score;
    QString operators;
    QString club;
    QString address1, address2, address3;
    QString soapbox;
};

// The 13 header lines; every tag is written, also with an empty value. Here
// and in the contact lines a control character of a value is written as a
// blank, so no value can break its line.
QStringList headerLines(const Header &header);
inline constexpr char endLine[] = "END-OF-LOG:";

// The band key as a frequency in kHz ("14" -> "14000", "50" -> "   50"); any
// other band text stays as it is.
QString frequency(const QString &band);
// "SSB" -> "PH", "RTTY" -> "RY"; every other mode as stored.
QString mode(const QString &mode);
// "2004-03-15"; an invalid date gives "".
QString date(const QDate &date);
// "0905"; an invalid time gives "".
QString time(const QTime &time);

struct Contact {
    QString band;
    QString mode;
    QDate date;
    QTime time;
    QString ownCall;
    QString sentReport;
    QString sentNumber;
    QString call;
    QString receivedReport;
    QString receivedNumber;
};

// The "QSO: " line, or nothing when the call, date, time, frequency or mode
// is empty. Pieces go in at their columns (frequency 6, mode 12, date 15,
// time 26, own call 31, sent report 45, sent number 49, call 56, received
// report 70, received number 74) into a line of 35 blanks; a piece that
// would land on or right after the previous one starts two columns after it.
std::optional<QString> qsoLine(const Contact &contact);

} // namespace CabrilloLines
