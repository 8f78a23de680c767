#include "platform/format/TextFormat.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace TextFormat {

namespace {

// Digits only, no sign, no blanks: QString::toInt would accept "+5" or " 5".
std::optional<int> digits(QStringView text, int minLen, int maxLen)
{
    if (text.size() < minLen || text.size() > maxLen)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(u"dd.MM.yyyy") : QString();
}

std::optional<QDate> parseDate(QStringView text)
{
    const auto parts = text.trimmed().split(u'.');
    if (parts.size() != 3)
        return std::nullopt;
    const auto day = digits(parts[0], 1, 2);
    const auto month = digits(parts[1], 1, 2);
    auto year = digits(parts[2], 2, 4);
    if (!day || !month || !year || parts[2].size() == 3)
        return std::nullopt;
    if (parts[2].size() == 2)
        *year += 2000;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString timeText(const QTime &time)
{
    if (!time.isValid())
        return QString();
    // Written digit by digit: a format string is parsed again on every call,
    // and a walk stores a time per row.
    QString text(8, u':');
    const int parts[] = {time.hour(), time.minute(), time.second()};
    for (int i = 0; i < 3; ++i) {
        text[3 * i] = QChar(u'0' + parts[i] / 10);
        text[3 * i + 1] = QChar(u'0' + parts[i] % 10);
    }
    return text;
}

std::optional<QTime> parseTime(QStringView text)
{
    const auto parts = text.trimmed().split(u':');
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;
    const auto hour = digits(parts[0], 1, 2);
    const auto minute = digits(parts[1], 2, 2);
    const auto second = parts.size() == 3 ? digits(parts[2], 2, 2) : std::optional<int>(0);
    if (!hour || !minute || !second)
        return std::nullopt;
    const QTime time(*hour, *minute, *second);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

QString dateTimeText(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return QString();
    return dateText(dateTime.date()) + u' ' + timeText(dateTime.time());
}

std::optional<QDateTime> parseDateTime(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    const qsizetype blank = trimmed.indexOf(u' ');
    const auto date = parseDate(blank < 0 ? trimmed : trimmed.left(blank));
    if (!date)
        return std::nullopt;
    QTime time(0, 0, 0);
    if (blank >= 0) {
        const auto parsed = parseTime(trimmed.mid(blank + 1));
        if (!parsed)
            return std::nullopt;
        time = *parsed;
    }
    return QDateTime(*date, time);
}

QString numberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    const int exponent = int(std::floor(std::log10(std::fabs(value))));
    QString text;
    if (exponent >= 15 || exponent < -5) {
        // Mantissa with trailing zeros dropped, then "E" and the bare exponent.
        text = QString::number(value, 'e', 14);
        const qsizetype e = text.indexOf(u'e');
        QString mantissa = text.left(e);
        const int exp = text.mid(e + 1).toInt();
        if (mantissa.contains(u'.')) {
            while (mantissa.endsWith(u'0'))
                mantissa.chop(1);
            if (mantissa.endsWith(u'.'))
                mantissa.chop(1);
        }
        text = mantissa + u'E' + QString::number(exp);
    } else {
        text = QString::number(value, 'g', 15);
        // 'g' may still pick an exponent form for small magnitudes; redo in fixed.
        if (text.contains(u'e')) {
            text = QString::number(value, 'f', 15 - exponent - 1);
            while (text.contains(u'.') && text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(u'.'))
                text.chop(1);
        }
    }
    text.replace(u'.', u',');
    return text;
}

std::optional<double> parseNumber(QStringView text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^[+-]?(\d+([.,]\d*)?|[.,]\d+)([eE][+-]?\d+)?$)"));
    QString plain = text.trimmed().toString();
    if (!pattern.match(plain).hasMatch())
        return std::nullopt;
    plain.replace(u',', u'.');
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString integerText(qint64 value)
{
    return QString::number(value);
}

std::optional<qint64> parseInteger(QStringView text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^[+-]?\d+$)"));
    const QString plain = text.trimmed().toString();
    if (!pattern.match(plain).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 value = plain.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString cutToWidth(const QString &text, int width)
{
    if (width < 0 || text.size() <= width)
        return text;
    qsizetype units = 0;
    for (int chars = 0; chars < width && units < text.size(); ++chars)
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
    return text.left(units);
}

QString decode1251(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decode1251(bytes);
}

QString blankControls(const QString &text, Lines lines)
{
    const auto isBlanked = [lines](QChar c) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            return lines == Lines::One || (u != u'\r' && u != u'\n' && u != u'\t');
        // C1 controls (U+0085 ends a line for many readers), the line and
        // paragraph separators, the bidirectional embeddings and isolates.
        return (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029 || (u >= 0x202a && u <= 0x202e) ||
               (u >= 0x2066 && u <= 0x2069);
    };
    // Walks write thousands of clean values: those are returned unchanged.
    qsizetype first = 0;
    while (first < text.size() && !isBlanked(text.at(first)))
        ++first;
    if (first == text.size())
        return text;
    QString result = text;
    for (qsizetype i = first; i < result.size(); ++i)
        if (isBlanked(result.at(i)))
            result[i] = u' ';
    return result;
}

QString fixedColumns(std::initializer_list<std::pair<QString, int>> pieces)
{
    QString line(30, u' ');
    for (const auto &[piece, column] : pieces)
        line.insert(std::min<qsizetype>(column - 1, line.size()), blankControls(piece));
    return line;
}

} // namespace TextFormat
