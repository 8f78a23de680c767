#pragma once
// The ADIF export: one line per log row, in the order and with the pieces
// the import reads back.

#include <QByteArray>
#include <QString>

// The field texts of one log row, as the exports read them.
struct LogRowTexts {
    QString call;
    QString date; // "dd.MM.yyyy" or "dd.MM.yy"
    QString time; // "HH:mm:ss" or "H:mm:ss"
    QString band;
    QString mode;
    QString rstRx;
    QString rstTx;
    QString name;
    QString qth;
    QString rxQsl;
    QString txQsl;
    QString notepad;
};

namespace AdifWriter {

inline constexpr char lineEnd[] = "\r\n";

// "Tarnel" and "<EOH>", each with its line end.
QByteArray header();
// One record: the pieces and "<EOR>", without the line end. Lengths count the
// UTF-8 bytes written.
QByteArray recordLine(const LogRowTexts &row);

// The date and time values the line carries.
QString adifDate(const QString &date); // yyyymmdd, or "" for a text of another length
QString adifTime(const QString &time); // hhmm

} // namespace AdifWriter

// `name` with `extension` (".adi", ".txt") appended unless it already ends in
// it, in any case.
QString withExtension(const QString &name, const QString &extension);
