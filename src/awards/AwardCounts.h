#pragma once
// Worked and confirmed counts of one award table per band and mode class, as
// the awards window shows them, and which mark cells its band chooser shows.

#include <QString>
#include <QStringList>
#include <array>

namespace Db {
class Table;
}

namespace AwardCounts {

enum class View { Worked, Confirmed };

constexpr int bandRows = 11; // 1.8 ... 50 and the satellite band
constexpr int modeClasses = 4; // CW, SSB, RTTY, Other

struct Matrix {
    // Rows whose band-and-mode cell counts, by band row and mode class.
    std::array<std::array<int, modeClasses>, bandRows> cells{};
    // Rows with at least one counted cell of the mode class on any band.
    std::array<int, modeClasses> totals{};
};

// Exact and case-sensitive: "wkd" and "cfm" in the worked view, "cfm" only in
// the confirmed one. Band cells are never asked.
bool counts(const QString &mark, View view);

// Counts the rows of `table` in its current set (all rows while its master is
// closed). `capitalModes`: the Waz spelling of the mode cells.
Matrix count(Db::Table &table, bool capitalModes, View view);

// The mark cells the band chooser shows for its text: a band item ("1.8" ...
// "50", "Sat") shows its band cell and four mode cells, "ALL" the eleven band
// cells, any other text none.
QStringList shownCells(const QString &chooserText, bool capitalModes);

} // namespace AwardCounts
