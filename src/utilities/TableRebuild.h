#pragma once
// Rebuilding a table file: every row is copied into a fresh copy of the
// installed template in Temp/, the count is checked, and only then is the
// copy renamed over the live file. A failure at any step leaves the live
// table as it was and is reported; nothing is left in Temp/.

#include <QString>
#include <functional>

namespace TableRebuild {

struct Files {
    QString live;     // the table file in use
    QString templ;    // its empty installed template
    QString work;     // the work copy in Temp/
};

struct Hooks {
    // Closes every cursor of the program on the live file, so that its
    // connection ends and the file can be replaced.
    std::function<void()> closeCursors;
    // Opens them again (on the last row); runs whether the rebuild worked or not.
    std::function<void()> reopenCursors;
    std::function<void(int percent)> gauge;
    std::function<void(int copied, int total)> rows;
};

// Rows of the whole table file, whatever range a cursor shows.
int rowCount(const QString &tableFile);

// Returns the rows kept. Raises Db::TableError naming the step that failed;
// the live file is then untouched.
int rebuild(const Files &files, const Hooks &hooks);

} // namespace TableRebuild
