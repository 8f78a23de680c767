#include "core/BandsAndModes.h"

const QStringList &bandKeys()
{
    static const QStringList keys{QStringLiteral("1.8"), QStringLiteral("3.5"), QStringLiteral("7"),
                                  QStringLiteral("10"),  QStringLiteral("14"),  QStringLiteral("18"),
                                  QStringLiteral("21"),  QStringLiteral("24"),  QStringLiteral("28"),
                                  QStringLiteral("50"),  QStringLiteral("144"), QStringLiteral("430"),
                                  QStringLiteral("1260"), QStringLiteral("Satellite")};
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
