#include "awards/BandIndicators.h"

#include "core/BandsAndModes.h"
#include "platform/table/Table.h"

namespace BandIndicators {

const QStringList &bandCells()
{
    static const QStringList cells = [] {
        QStringList list;
        for (const Band &b : bands())
            if (!b.awardCell.isEmpty())
                list << QString(b.awardCell);
        return list;
    }();
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
