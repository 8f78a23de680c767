#include "awards/AwardCells.h"

namespace AwardCells {

namespace {

struct Band {
    const char *key;
    const char *cell;
    const char *modePrefix; // band cell name used before the mode suffix
};

constexpr Band bands[] = {
    {"1.8", "B16", "B16"}, {"3.5", "B35", "B35"}, {"7", "B7", "B7"},   {"10", "B10", "B10"},
    {"14", "B14", "B14"},  {"18", "B18", "B18"},  {"21", "B21", "B21"}, {"24", "B24", "B24"},
    {"28", "B28", "B28"},  {"50", "B50", "B50"},  {"Satellite", "Satellite", "Sat"},
};

} // namespace

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
    const QString key = band == QLatin1String("Satell") ? QStringLiteral("Satellite") : band;
    for (const Band &b : bands) {
        if (key != QLatin1String(b.key))
            continue;
        static const char *const mixed[] = {"Cw", "Ssb", "Rtty", "Other"};
        static const char *const capitals[] = {"CW", "SSB", "RTTY", "OTHER"};
        const int m = int(modeClass(mode));
        const char *suffix = table == Table::Waz ? capitals[m] : mixed[m];
        return Cells{QString::fromLatin1(b.cell), QString::fromLatin1(b.modePrefix) + QString::fromLatin1(suffix)};
    }
    return std::nullopt;
}

QString upgrade(const QString &mark, bool confirmed)
{
    if (confirmed)
        return QStringLiteral("cfm");
    return mark == QLatin1String("cfm") ? mark : QStringLiteral("wkd");
}

} // namespace AwardCells
