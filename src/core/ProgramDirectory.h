#pragma once
// The program directory's layout: where each table lives, and creating the
// tables that are missing. An existing file is never touched, so the
// operator's log survives every installation.

#include <QString>
#include <QStringList>

namespace ProgramDirectory {

// Creates the sub-directories and every missing table file (empty) under
// `dir`. Returns the paths it created. Throws Db::TableError on failure.
QStringList installEmptyTables(const QString &dir);

} // namespace ProgramDirectory
