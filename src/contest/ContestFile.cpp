#include "contest/ContestFile.h"

#include "core/BandsAndModes.h"
#include "platform/format/TextFormat.h"

#include <algorithm>
#include <climits>

namespace ContestFile {

namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

const QStringList &pointNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const char *suffix : {"", "s", "r", "o"})
            for (const Band &band : bands())
                list << QStringLiteral("Point") + QString(band.token) + QString::fromLatin1(suffix);
        return list;
    }();
    return names;
}

QByteArray compose(const Settings &s)
{
    QStringList lines{s.name, QString::number(s.info)};
    for (int i = 0; i < pointCount; ++i)
        lines << s.points.value(i);
    lines << boolText(s.box1) << boolText(s.box2) << boolText(s.autoStart) << boolText(s.addTo) << s.factor << s.sent
          << s.step << TextFormat::dateText(s.startDate) << TextFormat::timeText(s.startTime)
          << TextFormat::dateText(s.stopDate) << TextFormat::timeText(s.stopTime);
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

Reading parse(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    auto line = [&lines](int number) { return lines.value(number - 1); };
    Reading r;
    auto bad = [&r, &line](int number, const char *what) {
        r.problems << QStringLiteral("line %1: '%2' is not %3").arg(number).arg(line(number), QLatin1String(what));
    };

    r.name = line(1);
    if (const auto index = TextFormat::parseInteger(line(2)); index && *index >= INT_MIN && *index <= INT_MAX)
        r.info = int(*index);
    else
        bad(2, "a whole number");
    for (int i = 0; i < pointCount; ++i)
        r.points << line(3 + i);
    // Only the exact text counts: "true" unticks.
    r.box1 = line(59) == QLatin1String("True");
    r.box2 = line(60) == QLatin1String("True");
    r.autoStart = line(61) == QLatin1String("True");
    r.addTo = line(62) == QLatin1String("True");
    if (const auto factor = TextFormat::parseInteger(line(63)); factor && *factor >= 1 && *factor <= 1000)
        r.factor = int(*factor);
    else
        bad(63, "a whole number from 1 to 1000");
    r.sent = line(64);
    r.step = line(65);
    auto date = [&](int number, std::optional<QDate> &into) {
        if (!(into = TextFormat::parseDate(line(number))))
            bad(number, "a date");
    };
    auto time = [&](int number, std::optional<QTime> &into) {
        if (!(into = TextFormat::parseTime(line(number))))
            bad(number, "a time");
    };
    date(66, r.startDate);
    time(67, r.startTime);
    date(68, r.stopDate);
    time(69, r.stopTime);
    return r;
}

QStringList contestNames(const QString &text)
{
    QStringList names;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            names << line;
    }
    return names;
}

QString pointStep(const QString &text, int direction)
{
    const double value = std::clamp(TextFormat::parseNumber(text).value_or(0), 0.0, 10.0);
    const int tenths = std::clamp(qRound(value * 10) + direction, 0, 100);
    return TextFormat::numberText(tenths / 10.0);
}

QString stepStep(const QString &text, int direction)
{
    const qint64 value = std::clamp<qint64>(TextFormat::parseInteger(text).value_or(0), 0, 1000);
    return QString::number(std::clamp<qint64>(value + direction, 0, 1000));
}

QString withExtension(const QString &name, const QString &extension)
{
    return name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}

} // namespace ContestFile
