#pragma once
// The ADIF and plain-text exports as walks over a log cursor, in its current
// order and range, written atomically: a failed write keeps the old file.

#include <QString>
#include <functional>

namespace Db {
class Table;
}

namespace LogExport {

// Runs once per row walked.
using Tick = std::function<void()>;

// Writes the file to `name` with ".adi" or ".txt" appended unless it is
// there already, and returns the path written; the cursor is left after its
// last row. A failed write throws std::runtime_error with the system's reason.
QString exportAdif(Db::Table &log, const QString &name, const Tick &tick = {});
QString exportText(Db::Table &log, const QString &name, const Tick &tick = {});

} // namespace LogExport
