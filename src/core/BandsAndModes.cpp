#include "core/BandsAndModes.h"

namespace {

using L = QLatin1StringView;

constexpr Band bandList[] = {
    {L("1.8"), L("18"), L("B16"), L("B16")},    {L("3.5"), L("35"), L("B35"), L("B35")},
    {L("7"), L("7"), L("B7"), L("B7")},         {L("10"), L("10"), L("B10"), L("B10")},
    {L("14"), L("14"), L("B14"), L("B14")},     {L("18"), L("180"), L("B18"), L("B18")},
    {L("21"), L("21"), L("B21"), L("B21")},     {L("24"), L("24"), L("B24"), L("B24")},
    {L("28"), L("28"), L("B28"), L("B28")},     {L("50"), L("50"), L("B50"), L("B50")},
    {L("144"), L("144"), L(), L()},             {L("430"), L("430"), L(), L()},
    {L("1260"), L("1260"), L(), L()},           {L("Satellite"), L("Sat"), L("Satellite"), L("Sat")},
};

} // namespace

std::span<const Band> bands()
{
    return bandList;
}

const Band *findBand(QStringView key)
{
    for (const Band &b : bandList)
        if (key == b.key)
            return &b;
    return nullptr;
}

const QStringList &bandKeys()
{
    static const QStringList keys = [] {
        QStringList list;
        for (const Band &b : bandList)
            list << QString(b.key);
        return list;
    }();
    return keys;
}

const QStringList &modeTexts()
{
    static const QStringList modes{QStringLiteral("CW"),     QStringLiteral("SSB"),  QStringLiteral("RTTY"),
                                   QStringLiteral("FM"),     QStringLiteral("AMTOR"), QStringLiteral("BPSK"),
                                   QStringLiteral("FAX"),    QStringLiteral("FSK"),  QStringLiteral("HELL"),
                                   QStringLiteral("MTTY"),   QStringLiteral("PACKET"), QStringLiteral("PACTOR"),
                                   QStringLiteral("QPSK"),   QStringLiteral("SSTV"), QStringLiteral("LSB"),
                                   QStringLiteral("USB"),    QStringLiteral("AM")};
    return modes;
}
