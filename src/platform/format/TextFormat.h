#pragma once
// The program's own text formats for dates, times and numbers. The machine's
// locale is never consulted: logs written on one machine must read back the
// same on any other.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QTime>
#include <initializer_list>
#include <optional>
#include <utility>

namespace TextFormat {

// "dd.MM.yyyy"; an invalid date gives "".
QString dateText(const QDate &date);
// Day, month and year separated by '.', with one or two digits for day and
// month and four digits for the year (two digits mean 20yy). Surrounding
// blanks are ignored. Anything else, or a date that does not exist, gives
// nothing.
std::optional<QDate> parseDate(QStringView text);

// "HH:mm:ss"; an invalid time gives "".
QString timeText(const QTime &time);
// "H:mm" or "H:mm:ss", hours 0-23; anything else gives nothing.
std::optional<QTime> parseTime(QStringView text);

// "dd.MM.yyyy HH:mm:ss"; an invalid date-time gives "".
QString dateTimeText(const QDateTime &dateTime);
// A date, optionally followed by blanks and a time (midnight when absent).
std::optional<QDateTime> parseDateTime(QStringView text);

// General number format: at most 15 significant digits, no trailing zeros,
// a decimal comma, an exponent ("1E20", "1E-5") only for very large or very
// small magnitudes.
QString numberText(double value);
// Accepts either ',' or '.' as the decimal separator and surrounding blanks;
// no thousands separators.
std::optional<double> parseNumber(QStringView text);

QString integerText(qint64 value);
std::optional<qint64> parseInteger(QStringView text);

// Text of at most `width` characters (code points, so a surrogate pair is
// never split).
QString cutToWidth(const QString &text, int width);

// Control characters (below U+0020, U+007F to U+009F, the Unicode line and
// paragraph separators and the bidirectional controls) replaced by blanks,
// one for one, so a value from outside can neither break a line of a file
// (for any reader) nor shift or reorder its columns. A multi-line text keeps
// its line breaks (CR, LF) and tabs.
enum class Lines { One, Many };
QString blankControls(const QString &text, Lines lines = Lines::One);

// A line of fixed columns as the reports and the text export build it: 30
// blanks, then each piece inserted at its 1-based column in turn (what stands
// there moves right; a column past the end appends). Trailing blanks stay.
// A control character in a piece is written as a blank.
QString fixedColumns(std::initializer_list<std::pair<QString, int>> pieces);

// Windows-1251 bytes (files of older installations) to text.
QString decode1251(const QByteArray &bytes);
// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1251.
QString decodeText(const QByteArray &bytes);

} // namespace TextFormat
