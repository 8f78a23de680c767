#include "awards/AwardCells.h"

#include "core/BandsAndModes.h"

namespace AwardCells {

ModeClass modeClass(const QString &mode)
{
    if (mode == QLatin1String("CW"))
        return ModeClass::Cw;
    if (mode == QLatin1String("SSB"))
        return ModeClass::Ssb;
    if (mode == QLatin1String("RTTY"))
        return ModeClass::Rtty;
    return ModeClass::Other;
}

std::optional<Cells> cells(Table table, const QString &band, const QString &mode)
{
    // The log keeps six characters of a band key, so "Satellite" comes back as "Satell".
    const Band *b = findBand(band == QLatin1String("Satell") ? QStringLiteral("Satellite") : band);
    if (!b || b->awardCell.isEmpty())
        return std::nullopt;
    static const char *const mixed[] = {"Cw", "Ssb", "Rtty", "Other"};
    static const char *const capitals[] = {"CW", "SSB", "RTTY", "OTHER"};
    const int m = int(modeClass(mode));
    const char *suffix = table == Table::Waz ? capitals[m] : mixed[m];
    return Cells{QString(b->awardCell), QString(b->awardMode) + QString::fromLatin1(suffix)};
}

QString upgrade(const QString &mark, bool confirmed)
{
    if (confirmed)
        return QStringLiteral("cfm");
    return mark == QLatin1String("cfm") ? mark : QStringLiteral("wkd");
}

} // namespace AwardCells
