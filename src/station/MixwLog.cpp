#include "station/MixwLog.h"

#include <QStringList>

namespace MixwLog {

QString lastLine(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    QString line = lines.isEmpty() ? QString() : lines.last();
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}

Contact parse(const QString &line)
{
    QStringList fields = line.split(QLatin1Char(';'));
    fields.removeLast();
    const auto field = [&fields](int n) { return n <= fields.size() ? fields.at(n - 1) : QString(); };
    Contact c;
    c.call = field(2);
    c.stamp = field(3);
    if (!c.stamp.isEmpty()) {
        c.date = c.stamp.mid(6, 2) + QLatin1Char('.') + c.stamp.mid(4, 2) + QLatin1Char('.') + c.stamp.left(4);
        c.time = c.stamp.mid(8, 2) + QLatin1Char(':') + c.stamp.mid(10, 2) + QStringLiteral(":00");
    }
    c.band = bandKey(field(7));
    c.mode = field(10);
    if (c.mode.startsWith(QLatin1String("BPSK")))
        c.mode = QStringLiteral("BPSK");
    c.rstTx = field(11);
    c.rstRx = field(12);
    c.name = field(15);
    c.qth = field(16);
    c.line2 = field(17);
    c.notes = field(19);
    c.extra = field(21);
    return c;
}

QString bandKey(const QString &frequency)
{
    // The 1.8 MHz band would otherwise meet the 18 MHz rule.
    bool number = false;
    const double khz = QString(frequency).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&number);
    if (number && khz >= 1800 && khz <= 2000)
        return QStringLiteral("1.8");
    static const struct {
        QStringList leads;
        const char *band;
    } rules[] = {
        {{"144", "145"}, "144"}, {{"43", "44", "45", "46"}, "430"}, {{"35"}, "3.5"}, {{"70"}, "7"},
        {{"10"}, "10"},          {{"14"}, "14"},                    {{"18"}, "18"},  {{"21"}, "21"},
        {{"24", "25"}, "24"},    {{"28", "29"}, "28"},
    };
    for (const auto &rule : rules)
        for (const QString &lead : rule.leads)
            if (frequency.startsWith(lead))
                return QString::fromLatin1(rule.band);
    return frequency;
}

} // namespace MixwLog
