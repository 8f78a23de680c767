#pragma once
// One open table file, shared by every cursor on it: the SQLite connection,
// the layout read from the file, cached statements and the savepoint stack.
// Internal to the engine.

#include "platform/table/PrefixTally.h"
#include "platform/table/Schema.h"
#include "platform/table/TableError.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTimer;
struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

namespace Db {

class Table;
class TableFile;

// A prepared statement borrowed from the file's cache, reset when it goes;
// or one of its own, finalized when it goes.
class Statement {
public:
    Statement(TableFile *file, sqlite3_stmt *stmt, bool own = false);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(const QVariantList &values);
    // True while a row is there; TableError (or KeyViolation) on failure,
    // saying what failed as `failure` does.
    bool step(const QString &failure = QStringLiteral("Cannot read or write"));
    QVariant column(int index) const;

private:
    TableFile *file_;
    sqlite3_stmt *stmt_;
    bool own_;
    int bound_ = 0;
    QList<QByteArray> texts_; // bound without a copy; kept until the reset
};

class TableFile {
public:
    // The shared file at `path` (opened on first use). Throws TableError naming
    // the file when it is not a table file of this program: also when it holds
    // triggers or views, or its description cannot be read within a second.
    // With `syncEachCommit` (as the first opening asks) a returned post
    // survives a power cut.
    static std::shared_ptr<TableFile> open(const QString &path, bool syncEachCommit = true);
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
    // Not from the cache: for a walk that runs other statements, the same
    // ones included, while it steps.
    Statement prepareOwn(const QString &sql);
    void exec(const QString &sql);
    qint64 lastInsertRowId() const;
    quint64 changes() const;
    quint64 lastChanges() const; // rows the last INSERT, UPDATE or DELETE changed

    // Another table file opened on this connection under `alias`, so one
    // statement can copy its rows; only outside any transaction of this file.
    bool inTransaction() const;
    void attach(const QString &path, const QString &alias);
    void detach(const QString &alias) noexcept;

    // While set, the SQL function walk_tick() runs `tick` for each row it is
    // evaluated on. An exception from `tick` fails the statement; it is kept
    // and raised again by rethrowTickError().
    void setTick(std::function<void()> tick);
    void rethrowTickError();

    // While a walk reads the file: the walk's page cache (a savepoint holds
    // it too), and the file mapped into memory, so that pages read in an
    // index's order are not copied in one by one. Both are given back when
    // the last walk ends, so an idle file costs no more. Walks that write
    // are not mapped: pages they change are copied out of the map anyway.
    class WalkPages {
    public:
        explicit WalkPages(TableFile &file);
        ~WalkPages();
        WalkPages(const WalkPages &) = delete;
        WalkPages &operator=(const WalkPages &) = delete;

    private:
        TableFile &file_;
    };

    // For a walk that adds many rows: drops the table's own indexes that no
    // field of `keptFields` leads, adding the CREATE statement of each, as the
    // file holds it, to `dropped` to be run again before the commit (an index
    // built in one sort costs far less than one grown by random inserts).
    // Only inside a transaction, whose roll-back brings them back. Drops
    // nothing while a statement is reading the file, or when the file keeps
    // SQLite's statistics, which a dropped index would lose.
    void dropIndexes(const QStringList &keptFields, QStringList &dropped);

    // Savepoints: nested transactions on this file.
    // The outermost is a write transaction taken at once ("BEGIN
    // IMMEDIATE"). `walk` widens the cache for the walk and folds the log of
    // changes in at its end; a single row's read and write leave both alone.
    QString beginSavepoint(bool walk);
    void releaseSavepoint(const QString &name, bool walk);
    void rollbackSavepoint(const QString &name, bool walk);

    // Rows in the whole table, counted once and then kept up to date by this
    // program's own inserts and deletes.
    int rowCount();
    // After one statement (or a batch of them) that changed `changed` rows
    // and added `delta` to the table: the kept count follows unless something
    // else changed the file meanwhile.
    // With `field`, only that field of the rows was written, and counts kept
    // of other fields follow too.
    void rowsChanged(quint64 changesBefore, int delta, quint64 changed = 1, int field = -1);
    void forgetRowCount();

    // Counts per leading text of a text field, kept from now on for as long
    // as the file is open (built when first asked for, and again after a
    // change this program did not follow row by row, such as a walk).
    void keepPrefixCounts(int field);
    // Rows of the inclusive range [low, high] on `field`, compared in binary
    // order, when `high` is `low` followed by more text and the kept counts
    // can tell (built, not only asked for); otherwise nothing.
    std::optional<int> prefixRangeCount(int field, const QVariant &low, const QVariant &high);
    void buildTallies() noexcept; // those a change left to be built
    bool talliesBuilt() const;    // all of them, as the file is now
    // Around a post or delete of one row by this program: the texts of the
    // kept fields before it, then the row count and kept counts follow the
    // change unless something else changed the file meanwhile.
    using TallyTexts = std::vector<std::optional<QString>>;
    TallyTexts tallyTexts(qint64 rowId);
    void rowChanged(quint64 changesBefore, int delta, qint64 rowId, const TallyTexts &before) noexcept;

    // Copies the log of changes into the file without waiting for readers or
    // writers: off the path of a post, when the program is idle, after a
    // walk, and at close.
    void checkpoint();

    QList<Table *> cursors;

    [[noreturn]] void fail(const QString &what, int rc) const;
    int extendedError(int rc) const;

private:
    TableFile(const QString &path, bool syncEachCommit);
    // The layout read within a time limit: a hostile file is refused by name
    // instead of holding up the program.
    void readLayoutBounded();
    void readLayout();
    TableError notOurs() const;
    int lastSystemError() const;
    void transactionCommand(const QString &sql); // exec, unless the test seam fails it
    void walkBegan(bool reading);
    void walkEnded(bool reading) noexcept;
    sqlite3_stmt *prepareStatement(const QString &sql, unsigned flags);
    static void tickFunction(sqlite3_context *context, int argc, sqlite3_value **argv);
    // blank_controls(value, lines): a text with the control characters a
    // stored text may not hold blanked (a non-zero `lines` keeps a memo's
    // lines and tabs); any other value as it is.
    static void blankControlsFunction(sqlite3_context *context, int argc, sqlite3_value **argv);
    static int walCommitted(void *self, sqlite3 *db, const char *schema, int pages);
    struct Tally {
        int field = 0;
        PrefixTally counts;
        quint64 stamp = ~0ULL; // changes() it was true at; ~0 when to be built again
    };
    void buildTally(Tally &tally);
    void idle();
    void idleLater();
    // Keeps the log of changes written ahead of its last commit, so that a
    // commit's sync overwrites blocks instead of growing the file.
    void keepLogAhead() noexcept;
    // Checkpoints and truncates the log of changes, when no transaction and
    // no other program's reader holds it.
    void giveBackLog() noexcept;
    void followCount(quint64 changesBefore, int delta, quint64 changed);
    bool followsRowsInWalk() const;
    std::optional<QString> textOf(int field, qint64 rowId);

    QString path_;
    sqlite3 *db_ = nullptr;
    TableSchema schema_;
    QHash<QString, sqlite3_stmt *> statements_;
    sqlite3_stmt *dataVersion_ = nullptr;
    mutable std::optional<quint64> heldVersion_; // read inside a transaction that holds the file
    QList<char> affinities_;
    int savepoints_ = 0;
    bool immediate_ = false; // the outermost began the file's transaction
    int walks_ = 0;   // savepoints and WalkPages: the walk's page cache
    int readers_ = 0; // WalkPages: the file mapped
    qint64 idleCacheSize_ = -2000;
    qint64 pageSize_ = 4096;
    bool syncEachCommit_ = true;
    bool written_ = false; // a row was posted since the file was opened
    int walPages_ = 0; // pages in the log of changes after the last commit
    int rowCount_ = 0;
    int walkFollowed_ = 0; // rows the kept counts followed in this transaction
    quint64 countStamp_ = ~0ULL;
    std::function<void()> tick_;
    std::exception_ptr tickError_;
    std::vector<Tally> tallies_;
    std::unique_ptr<QTimer> idleCheckpoint_;
};

QString quoteName(const QString &name);

// Settings every connection to a table file takes before it reads anything.
bool hardenConnection(sqlite3 *db);

// The system's reason a write failed, as the operator should read it. SQLite
// keeps the error number of the call that failed, but a later call may have
// cleared it (0): then the disk says whether it was made read-only.
QString systemReason(int systemError, bool readOnlyDisk, const QString &libraryText);

} // namespace Db
