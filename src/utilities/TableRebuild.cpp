#include "utilities/TableRebuild.h"

#include "platform/table/Database.h"
#include "platform/table/Field.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"
#include "platform/ui/Guard.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace TableRebuild {

namespace {

// A cursor of the rebuild's own on one file, with a database of its own, so
// no range or link of the program's cursors limits what it sees.
struct OwnCursor {
    Db::Database database;
    Db::Table table;
    explicit OwnCursor(const QString &path) : table(nullptr, QFileInfo(path).fileName())
    {
        database.setDirectory(QFileInfo(path).absolutePath());
        table.setDatabase(&database);
        table.open();
    }
};

const char *const companions[] = {"-wal", "-shm", "-journal"};

void removeFile(const QString &path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw Db::TableError(QStringLiteral("Cannot delete %1").arg(path), path);
}

// A table file with the journal files SQLite may have left beside it.
void removeTableFile(const QString &path)
{
    removeFile(path);
    for (const char *suffix : companions)
        removeFile(path + QLatin1String(suffix));
}

void removeQuietly(const QString &path)
{
    try {
        removeTableFile(path);
    } catch (const Db::TableError &) {
        // The error already on its way is the one to report.
    }
}

void copyFile(const QString &from, const QString &to)
{
    if (!QFile::copy(from, to))
        throw Db::TableError(QStringLiteral("Cannot copy %1 to %2").arg(from, to), to);
    // An installed template may be read-only; its copy is written to.
    QFile(to).setPermissions(QFile(to).permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
}

void copyRows(Db::Table &from, Db::Table &to, const Hooks &hooks)
{
    std::vector<std::pair<int, int>> columns; // target, source
    for (int c = 0; c < to.fieldCount(); ++c)
        if (Db::Field *f = from.findField(to.field(c).name()))
            columns.emplace_back(c, f->column());
    const int total = from.recordCount();
    Db::TableTransaction transaction(to);
    int copied = 0;
    for (from.first(); !from.eof(); from.next()) {
        to.append();
        // Stored values, blobs included, go across unconverted.
        for (const auto &[target, source] : columns)
            to.setValue(target, from.value(source));
        to.post();
        if (hooks.rows)
            hooks.rows(++copied, total);
    }
    transaction.commit();
}

// Reopens the program's cursors however the replacement ends.
struct Reopen {
    const Hooks &hooks;
    ~Reopen()
    {
        if (hooks.reopenCursors)
            Ui::runRestoring(hooks.reopenCursors);
    }
};

} // namespace

int rowCount(const QString &tableFile)
{
    OwnCursor cursor(tableFile);
    return cursor.table.recordCount();
}

int rebuild(const Files &files, const Hooks &hooks)
{
    const auto gauge = [&hooks](int percent) {
        if (hooks.gauge)
            hooks.gauge(percent);
    };
    gauge(1);
    if (!QFileInfo::exists(files.live))
        throw Db::TableError(QStringLiteral("The table %1 does not exist").arg(files.live), files.live);
    // A work file left by an interrupted run is stale.
    removeTableFile(files.work);
    gauge(5);
    int total = 0;
    try {
        copyFile(files.templ, files.work);
        gauge(10);
        {
            OwnCursor source(files.live);
            OwnCursor target(files.work);
            total = source.table.recordCount();
            copyRows(source.table, target.table, hooks);
        } // closing checkpoints the copy into one plain file
        gauge(50);
        const int copied = rowCount(files.work);
        if (copied != total)
            throw Db::TableError(
                QStringLiteral("The copy of %1 holds %2 rows instead of %3").arg(files.live).arg(copied).arg(total),
                files.work);
    } catch (...) {
        removeQuietly(files.work);
        throw;
    }
    gauge(60);

    // Next to the live file, so the rename stays within one file system.
    const QString staged = files.live + QStringLiteral(".new");
    {
        const Reopen reopen{hooks};
        try {
            if (hooks.closeCursors)
                hooks.closeCursors();
            gauge(70);
            // A journal left means a connection is still open (or a crash left
            // changes not yet in the file): replacing the file would lose them.
            for (const char *suffix : companions)
                if (QFileInfo::exists(files.live + QLatin1String(suffix)))
                    throw Db::TableError(QStringLiteral("The table %1 is still in use").arg(files.live), files.live);
            removeTableFile(staged);
            copyFile(files.work, staged);
            if (QFileInfo(staged).size() != QFileInfo(files.work).size())
                throw Db::TableError(QStringLiteral("Cannot copy %1 to %2").arg(files.work, staged), staged);
            if (std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(files.live).constData()) != 0)
                throw Db::TableError(QStringLiteral("Cannot replace %1: %2")
                                         .arg(files.live, QString::fromLocal8Bit(std::strerror(errno))),
                                     files.live);
            gauge(80);
        } catch (...) {
            removeQuietly(staged);
            removeQuietly(files.work);
            throw;
        }
    }
    gauge(85);
    removeTableFile(files.work);
    gauge(90);
    return total;
}

} // namespace TableRebuild
