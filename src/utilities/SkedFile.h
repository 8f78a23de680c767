#pragma once
// The schedules' rules without a window: the file "Sked.tnr" (ten rows of
// date, time and text, 30 lines), which rows are due, and which lamp is lit.

#include "core/MainClock.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <array>

namespace SkedFile {

inline constexpr char fileName[] = "Sked.tnr";
inline constexpr int rowCount = 10;

struct Row {
    QDate date;
    QTime time;
    QString text;
    bool operator==(const Row &) const = default;
};
using Rows = std::array<Row, rowCount>;

struct Reading {
    Rows rows;
    QString problem; // the first line that could not be converted, as a message
};

// A row nobody has set (no file yet): midnight of the day before `today`, a
// day gone, so it never fires however the clock is stepped; no text.
Row unsetRow(const QDate &today);

// Reads the file's text over `rows`: line 3k-2 the date, 3k-1 the time, 3k
// the text of row k. A bad line leaves its field and reading goes on, so one
// damaged line never costs the rows after it.
Reading parse(const QString &text, const Rows &rows);

// The 30 lines, UTF-8, each ended by CR LF.
QByteArray compose(const Rows &rows);

// The rows (0-based, in order) whose date and time lie in `span`.
QList<int> dueRows(const Rows &rows, const MainClock::Span &span);

// The one lamp lit (0-based): the last row dated `today`; -1 when none.
int litLamp(const Rows &rows, const QDate &today);

// The information box of a due row.
QString boxText(const Row &row);

} // namespace SkedFile
