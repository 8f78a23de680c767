#include "awards/BandIndicators.h"

#include "platform/table/Table.h"

namespace BandIndicators {

const QStringList &bandCells()
{
    static const QStringList cells{QStringLiteral("B16"), QStringLiteral("B35"), QStringLiteral("B7"),
                                   QStringLiteral("B10"), QStringLiteral("B14"), QStringLiteral("B18"),
                                   QStringLiteral("B21"), QStringLiteral("B24"), QStringLiteral("B28"),
                                   QStringLiteral("B50"), QStringLiteral("Satellite")};
    return cells;
}

int colour(const QString &mark)
{
    if (mark == QLatin1String("cfm"))
        return red;
    if (mark == QLatin1String("wkd"))
        return green;
    return grey;
}

QList<int> colours(Db::Table *row)
{
    QList<int> result(bandCells().size(), grey);
    if (!row || !row->isActive() || row->currentRowId() == 0)
        return result;
    for (int i = 0; i < bandCells().size(); ++i)
        result[i] = colour(row->fieldByName(bandCells()[i]).asString());
    return result;
}

} // namespace BandIndicators
