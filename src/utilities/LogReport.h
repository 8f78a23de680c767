#pragma once
// The printed log and the printed contest log: their columns, fonts and
// titles, and their rows read from the log cursor as it stands (its sort
// order and range), without moving it.

#include "platform/print/Report.h"

#include <QFont>
#include <QString>
#include <functional>

namespace Db {
class Table;
}

namespace LogReport {

enum class Kind { Log, Contest };

// The font of the detail lines until the operator chooses another.
QFont defaultPrintFont();

// The report of every row `log` shows, in its order; no rows when it is closed.
// Running numbers too wide for their column get room: see withRoomForNumbers.
Print::Report build(Kind kind, const Db::Table &log, const QString &title, const QFont &printFont);

// `columns` as they are while the running numbers of `rowCount` rows, with a
// blank after them, fit the first column in `font`; else every column after
// it moves right by what is missing, so no number runs into the next text.
QList<Print::Column> withRoomForNumbers(QList<Print::Column> columns, qsizetype rowCount, const QFont &font);

// Shows the report of the main log cursor with its grid detached; the grid
// comes back through `afterPreview`, which runs when the preview closes or
// fails.
void preview(Kind kind, const QString &title, const QFont &printFont, const std::function<void()> &afterPreview);

} // namespace LogReport
