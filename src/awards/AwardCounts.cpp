#include "awards/AwardCounts.h"

#include "core/BandsAndModes.h"
#include "core/TableSchemas.h"
#include "platform/table/Table.h"

#include <vector>

namespace AwardCounts {

namespace {

// The award bands in matrix order, each with its band cell first.
std::vector<const Band *> awardBands()
{
    std::vector<const Band *> list;
    for (const Band &b : bands())
        if (!b.awardCell.isEmpty())
            list.push_back(&b);
    return list;
}

} // namespace

bool counts(const QString &mark, View view)
{
    if (mark == QLatin1String("cfm"))
        return true;
    return view == View::Worked && mark == QLatin1String("wkd");
}

Matrix count(Db::Table &table, bool capitalModes, View view)
{
    // The 55 cells come band by band: the band cell, then its four mode cells.
    const QStringList cells = TableSchemas::awardCells(capitalModes);
    QStringList fields; // band by band, the four mode cells
    for (int b = 0; b < bandRows; ++b)
        for (int m = 0; m < modeClasses; ++m)
            fields << cells.at(b * 5 + 1 + m);

    Matrix result;
    table.walkRows(fields, [&](qint64, const QStringList &texts) {
        std::array<bool, modeClasses> any{};
        for (int b = 0; b < bandRows; ++b) {
            for (int m = 0; m < modeClasses; ++m) {
                if (!counts(texts.at(b * modeClasses + m), view))
                    continue;
                ++result.cells[b][m];
                any[m] = true;
            }
        }
        for (int m = 0; m < modeClasses; ++m)
            result.totals[m] += any[m] ? 1 : 0;
    });
    return result;
}

QStringList shownCells(const QString &chooserText, bool capitalModes)
{
    const QStringList cells = TableSchemas::awardCells(capitalModes);
    const std::vector<const Band *> list = awardBands();
    QStringList shown;
    if (chooserText == QLatin1String("ALL")) {
        for (int b = 0; b < int(list.size()); ++b)
            shown << cells.at(b * 5);
        return shown;
    }
    for (int b = 0; b < int(list.size()); ++b) {
        const QString item = list[b]->key == QLatin1String("Satellite") ? QStringLiteral("Sat") : QString(list[b]->key);
        if (item == chooserText)
            return cells.mid(b * 5, 5);
    }
    return shown;
}

} // namespace AwardCounts
