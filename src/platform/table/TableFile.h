#pragma once
// One open table file, shared by every cursor on it: the SQLite connection,
// the layout read from the file, cached statements and the savepoint stack.
// Internal to the engine.

#include "platform/table/Schema.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace Db {

class Table;
class TableFile;

// A prepared statement borrowed from the file's cache; reset when it goes.
class Statement {
public:
    Statement(TableFile *file, sqlite3_stmt *stmt);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(const QVariantList &values);
    bool step(); // true while a row is there; TableError (or KeyViolation) on failure
    QVariant column(int index) const;

private:
    TableFile *file_;
    sqlite3_stmt *stmt_;
    int bound_ = 0;
    QList<QByteArray> texts_; // bound without a copy; kept until the reset
};

class TableFile {
public:
    // The shared file at `path` (opened on first use). Throws TableError naming
    // the file when it is not a table file of this program.
    static std::shared_ptr<TableFile> open(const QString &path);
    ~TableFile();
    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    QString path() const { return path_; }
    QString fileName() const;
    const TableSchema &schema() const { return schema_; }
    QString quotedTable() const;
    // How SQLite converts a value stored in the field's column, from the
    // column's declared type: 'i'nteger, 'r'eal, 't'ext, 'n'umeric or 'b'lob (none).
    char affinity(int field) const { return affinities_.value(field, 'n'); }

    Statement prepare(const QString &sql);
    void exec(const QString &sql);
    qint64 lastInsertRowId() const;
    quint64 changes() const;

    // Savepoints: nested transactions on this file.
    QString beginSavepoint();
    void releaseSavepoint(const QString &name);
    void rollbackSavepoint(const QString &name);

    // Rows in the whole table, counted once and then kept up to date by this
    // program's own inserts and deletes.
    int rowCount();
    void rowsChanged(quint64 changesBefore, int delta);
    void forgetRowCount() { countStamp_ = ~0ULL; }

    QList<Table *> cursors;

    [[noreturn]] void fail(const QString &what, int rc) const;
    int extendedError(int rc) const;

private:
    explicit TableFile(const QString &path);
    void readLayout();
    void walkEnded(); // gives back the walk's page cache once no savepoint is left

    QString path_;
    sqlite3 *db_ = nullptr;
    TableSchema schema_;
    QHash<QString, sqlite3_stmt *> statements_;
    sqlite3_stmt *dataVersion_ = nullptr;
    QList<char> affinities_;
    int savepoints_ = 0;
    qint64 idleCacheSize_ = -2000;
    int rowCount_ = 0;
    quint64 countStamp_ = ~0ULL;
};

QString quoteName(const QString &name);

} // namespace Db
