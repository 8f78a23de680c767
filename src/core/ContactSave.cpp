#include "core/ContactSave.h"

#include "awards/AwardCells.h"
#include "core/BandsAndModes.h"
#include "platform/format/TextFormat.h"

namespace ContactSave {

std::optional<Failure> checkEntry(const QString &call, const QString &rstRx, const QString &rstTx)
{
    if (call.size() <= 2)
        return Failure{QStringLiteral("Not Callsign"), Field::Call};
    if (rstRx.isEmpty())
        return Failure{QStringLiteral("Not RST Rx"), Field::RstRx};
    if (rstTx.isEmpty())
        return Failure{QStringLiteral("Not RST Tx"), Field::RstTx};
    return std::nullopt;
}

QString withoutStar(const QString &text)
{
    return text == QLatin1String("*") ? QString() : text;
}

std::optional<QString> nextSentNumber(const QString &sent, const QString &step)
{
    const auto number = TextFormat::parseInteger(sent);
    const auto increment = TextFormat::parseInteger(step);
    if (!number || !increment)
        return std::nullopt;
    QString text = TextFormat::integerText(*number + *increment);
    if (text.size() == 1)
        text.prepend(QStringLiteral("00"));
    else if (text.size() == 2)
        text.prepend(u'0');
    return text;
}

std::optional<QString> pointFieldName(const QString &band, const QString &mode)
{
    static const char *const suffixes[] = {"", "s", "r", "o"}; // CW, SSB, RTTY, Other
    const Band *b = findBand(band);
    if (!b)
        return std::nullopt;
    return QStringLiteral("Point") + QString(b->token) + QString::fromLatin1(suffixes[int(AwardCells::modeClass(mode))]);
}

std::optional<QString> contestPoints(int factor, const QString &pointValue)
{
    const auto value = TextFormat::parseNumber(pointValue);
    if (!value)
        return std::nullopt;
    return TextFormat::numberText(factor * *value);
}

QString addPoints(const QString &total, const QString &points)
{
    return TextFormat::numberText(TextFormat::parseNumber(total).value_or(0) +
                                  TextFormat::parseNumber(points).value_or(0));
}

} // namespace ContactSave
