#pragma once
// The band indicators of the main window's Info box: one colour per award band
// from the band cells of one award row.

#include <QList>
#include <QStringList>

namespace Db {
class Table;
}

namespace BandIndicators {

constexpr int grey = 8421504;  // not worked, or no row
constexpr int green = 65280;   // "wkd"
constexpr int red = 255;       // "cfm"

// The band cells in indicator order (1.8 ... 50, satellite).
const QStringList &bandCells();
// The colour of one mark; exact comparisons.
int colour(const QString &mark);
// The eleven colours from the current row of `row` (an award table cursor);
// all grey when there is no table, it is closed or it has no current row.
QList<int> colours(Db::Table *row);

} // namespace BandIndicators
