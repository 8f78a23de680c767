#pragma once
// A cursor on one table file: moves, sort orders, key ranges, look-ups,
// editing, master-detail links and the data sources that follow it. Cursors on
// the same file share one connection, so each sees the others' posts at once.

#include "platform/table/Field.h"
#include "platform/table/Schema.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace Db {

class Database;
class DataSource;
class TableFile;

// How a grid shows one field of a cursor.
struct FieldView {
    QString name;
    QString label;
    int width = 10; // characters
    bool visible = true;
};

// One row read for a grid: its row id and the display texts of its fields in
// the file's layout order.
struct RowTexts {
    qint64 rowId = 0;
    QStringList texts;
};

class Table {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    Table(Database *database = nullptr, const QString &tableName = {});
    ~Table();
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    // --- where the table lives (only while closed) ---
    void setDatabase(Database *database);
    Database *database() const { return database_; }
    void setTableName(const QString &tableName);
    QString tableName() const { return tableName_; }
    // The file that the table names in its database's directory (existing or not).
    QString filePath() const;
    // A file whose layout is not this one (another table, another version, a
    // field or index missing) is refused by name. Without it any layout opens.
    void setRequiredSchema(const TableSchema &schema) { requiredSchema_ = schema; }

    // --- open and close ---
    // A failed open is remembered: later operations say why the table is not
    // open. A successful one, or the next try, forgets it.
    void open();
    void close(); // pending changes are cancelled
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    const TableSchema &schema() const; // of the open file

    // --- moves ---
    void first();
    void last();
    void next();  // at the last row sets eof() and stays
    void prior(); // at the first row sets bof() and stays
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const;        // no row in the current range / detail set
    int recordCount() const;     // rows of the current range / detail set
    int recNo() const;           // 0-based position of the current row; -1 when none
    void moveToPosition(int position);
    bool moveToRowId(qint64 rowId); // false (cursor unchanged) when it is not in the current set
    qint64 currentRowId() const { return hasRow_ ? rowId_ : 0; }

    // --- sort order and ranges ---
    // "" is the primary order (or the order of entry when there is none). The
    // range is cancelled; the cursor stays on its row when it can.
    void setIndexName(const QString &indexName);
    // The same, but a range stays when the new order's first field is the
    // range's own field (it still selects the same rows); otherwise it ends.
    void setIndexNameKeepingRange(const QString &indexName);
    QString indexName() const { return indexName_; }
    QStringList indexNames() const; // primary and named secondary indexes of the open file
    // Both ends inclusive, on the first field of the current index; the texts
    // are values of that field as setAsString takes them. Moves to the first row.
    void setRange(const QString &low, const QString &high);
    void cancelRange();
    bool hasRange() const { return range_.active; }
    // Ranges from a short text to that text followed by more (every key that
    // begins with it) are counted on this text field without walking the
    // index, on a table where such counts run often. Kept across close and open.
    void keepPrefixCounts(const QString &fieldName);
    // Builds the kept counts now where a change left them to be built (the
    // program does it when idle; until then a count reads the index).
    void buildPrefixCounts();
    // Whether the kept counts are built and follow the file as it is now.
    bool prefixCountsBuilt() const;

    // Exact, case-sensitive comparison of one field with a text. On a hit the
    // cursor moves to the first matching row in the current order and true is
    // returned; on a miss the cursor stays where it was.
    bool locate(const QString &fieldName, const QString &value);
    // The same, moving to the last matching row in the current order.
    bool locateLast(const QString &fieldName, const QString &value);

    // --- editing ---
    void append();
    void insert();
    void edit(); // on an empty table or detail set this inserts
    // Writes the row; afterwards the cursor stands on it. A unique index given a
    // second equal key raises KeyViolation and the row stays in edit/insert.
    void post();
    void cancel();
    // Deletes the current row; the cursor then stands on the next row, or on
    // the new last row when the deleted one was last.
    void deleteRecord();
    // Reads the current row again; when it is gone, moves to the row after it.
    void refresh();
    bool isModified() const { return modified_; }

    // --- walks ---
    // Writes one field of many rows, by row id, as setAsString writes it (texts
    // cut to the width; an invalid text raises TableError and writes nothing).
    // The rows' other fields are untouched; a row that no longer exists is
    // passed over. Runs inside the file's transaction when a walk holds one.
    // Cursors standing on a written row show the new value. Returns the rows written.
    int writeTexts(const QString &fieldName, const std::vector<std::pair<qint64, QString>> &rows);
    // Appends a copy of every row `source` shows, in its order: the named
    // fields as setAsString would write their texts, the others empty, new
    // auto-increment numbers. One transaction on this file, all or nothing;
    // `tick` runs once per row copied and may stop the copy by throwing. The
    // cursor then stands on the last row appended. Returns the rows appended.
    // With `keptIndexes`, a copy of as many rows as this table holds, or more,
    // drops the indexes that no field of it leads and builds each again in
    // one sort at the commit: for indexes whose keys the new rows scatter (an
    // index on a field of few values grows at the ends of its runs).
    int appendCopies(Table &source, const QStringList &fieldNames, const std::function<void()> &tick = {},
                     const std::optional<QStringList> &keptIndexes = std::nullopt);
    // Reads every row of the current set (range and link) once, in one
    // statement: `row` gets each row's id and the display texts of
    // `fieldNames` in that order. In the current order, or with Order::Any in
    // the order the file gives them fastest. The cursor does not move; `row`
    // may stop the walk by throwing. Rows that `row` writes meanwhile may or
    // may not be met again.
    enum class Order { Current, Any };
    using RowVisitor = std::function<void(qint64 rowId, const QStringList &texts)>;
    void walkRows(const QStringList &fieldNames, const RowVisitor &row, Order order = Order::Current) const;

    // --- fields ---
    int fieldCount() const;
    Field &field(int column);
    Field &fieldByName(const QString &name);
    Field *findField(const QString &name);

    // Grid settings of this cursor; kept across close and open.
    void setFieldView(const QString &name, const QString &label, int width, bool visible = true);
    void setFieldVisible(const QString &name, bool visible);
    // Puts the named fields first, in this order; the others follow.
    void setFieldOrder(const QStringList &names);
    FieldView fieldView(const QString &name) const;
    // The visible fields in grid order.
    QList<FieldView> visibleFields() const;

    // --- master-detail ---
    // This table shows only the rows whose `detailField` equals the master's
    // current `masterField`; while the master is closed it shows every row.
    // A row inserted here takes its link field from the master.
    void setMasterLink(Table *master, const QString &masterField, const QString &detailField);
    void clearMasterLink();

    // --- grids ---
    // The rows of one page of a grid (the walks read with walkRows).
    std::vector<RowTexts> readRows(int offset, int count) const;
    // The display texts of one field over every row of the current set (range
    // and link), in the current order; the cursor does not move. A walk that
    // needs one field reads it in one statement.
    QStringList fieldTexts(const QString &fieldName) const;
    // Changes whenever the rows of this cursor may have changed: its order,
    // range or link, or any post to the file from here or elsewhere.
    struct Generation {
        quint64 structure = ~0ULL;
        quint64 changes = ~0ULL;
        bool operator==(const Generation &) const = default;
    };
    Generation generation() const;
    // Changes whenever the grid columns may have: the fields shown, their
    // order, labels and widths, or opening and closing.
    quint64 columnsGeneration() const { return columns_; }

    // Used by Field and DataSource.
    const QVariant &value(int column) const;
    void setValue(int column, const QVariant &stored);
    void attachDataSource(DataSource *source);
    void detachDataSource(DataSource *source);
    TableFile *file() const { return file_.get(); }

private:
    void openFile();
    friend class Database;
    friend class TableTransaction;
    friend class EqualRows;
    struct Range {
        bool active = false;
        QVariant low;
        QVariant high;
    };
    struct Condition {
        QString sql;
        QVariantList args;
    };
    // The single-row reads; their SQL is built once per order and constraint shape.
    enum class Pick : quint8 { First, Last, Offset, RowId, Locate, LocateLast, Next, Prior };

    void requireActive() const;
    void requireEditing() const;
    void checkBrowseMode();
    int columnOf(const QString &fieldName) const;
    void buildFields();
    void rebuildQueries();
    Condition constraint(bool withRange = true) const;
    int constraintShape(QVariantList &args, bool withRange) const;
    QString constraintSql(int shape) const;
    Condition keyEquals() const;
    Condition keyCompare(bool after) const;
    QVariantList keyCompareArgs() const;
    bool fetch(Pick pick, const QVariantList &args, bool constrained = true, int column = 0);
    bool locateAt(const QString &fieldName, const QString &value, Pick pick);
    QString selectSql(Pick pick, int column, int shape) const;
    bool storePosted(qint64 id, bool inserted);
    // `filterOnly` (shape bits 8 and 16) keeps the range's low or high end
    // as a filter that SQLite does not seek by.
    int count(const Condition &extra, int limit = -1, bool withRange = true, int filterOnly = 0) const;
    int rangeCount() const;
    int countBeside(bool after, int limit) const;
    bool reload(qint64 rowId);
    bool step(bool forward);
    void moveToEnd(bool last);
    void reReadOrNext();
    void reposition();
    void setNoRow();
    void afterMove();
    void layoutChanged();
    void notifyLayout();
    void masterMoved();
    std::optional<QVariant> linkValue() const;
    void closeFromDatabase();
    void afterRollback();

    Database *database_ = nullptr;
    QString tableName_;
    QString openError_; // why the last open failed, until one succeeds
    std::optional<TableSchema> requiredSchema_;
    std::shared_ptr<TableFile> file_;
    State state_ = State::Inactive;

    QString indexName_;
    Range range_;
    QHash<QString, FieldView> views_; // by lower-case field name
    QStringList order_;               // fields put first in grids
    QStringList prefixCounted_;       // fields whose prefix ranges are counted from kept counts
    std::vector<std::unique_ptr<Field>> fields_;

    // Current row: values in stored form; blobs are read when first asked for.
    bool hasRow_ = false;
    qint64 rowId_ = 0;
    qint64 rowBeforeInsert_ = 0;
    quint64 editStamp_ = ~0ULL; // the file's changes() when edit() read the row
    quint64 readStamp_ = ~0ULL; // the file's changes() when a look-up read readRow_
    qint64 readRow_ = 0;
    QVariantList values_;
    QList<bool> loaded_;
    QList<bool> changed_;
    bool modified_ = false;
    bool eof_ = true;
    bool bof_ = true;

    // SQL pieces for the current order.
    QStringList keyExprs_;   // key columns with their collation
    QList<int> keyColumns_;  // their field positions
    bool keysBinary_ = true; // no key column compares with a collation of its own
    QList<int> selected_;    // field positions read with each row (all but blobs)
    QString selectList_;
    QString orderAsc_;
    QString orderDesc_;
    QHash<quint32, QString> selectSql_; // by pick, column and constraint shape
    QString insertSql_;
    QHash<QByteArray, QString> updateSql_; // by the changed fields
    quint64 structure_ = 0;
    quint64 columns_ = 0;
    mutable Generation countGeneration_;
    mutable bool nearerAfter_ = false; // the side recNo found nearer last time
    mutable int countCache_ = 0;

    // The rows that recent first, last and locate look-ups found (0: none),
    // while the set of rows, its link and the file stay as they were: a
    // keystroke repeats most look-ups of the one before. A look-up that finds
    // the row the buffer already holds, read at these changes, reads nothing.
    struct Lookups {
        quint64 set = ~0ULL;
        quint64 changes = ~0ULL;
        std::optional<QVariant> link;
        QHash<QString, qint64> rows;
    };
    Lookups lookups_;
    quint64 set_ = 0;               // moves whenever the order, range or link condition changes
    quint64 bufferStamp_ = ~0ULL;   // the file's changes() when a look-up read the buffer
    void setChanged();
    std::optional<QString> lookupKey(Pick pick, const QVariantList &extra, int column) const;

    Table *master_ = nullptr;
    QString masterField_;
    QString detailField_;
    QList<Table *> details_;
    QList<DataSource *> sources_;
};

// A look-up run once per record of a long walk: the rows of a table whose
// key fields equal given texts, through one cached statement, reading only
// the fields asked for. The cursor does not move; its range and link do not
// apply. The keys should lead one of the file's indexes.
class EqualRows {
public:
    EqualRows(Table &table, const QStringList &keyFields, const QStringList &fieldNames);
    // The display texts of the fields asked for, one list per row, in no
    // particular order. A key is a date as setAsDate takes it or a text as
    // setAsString takes it; a text that the field would refuse or cut matches
    // no row. Valid until the next find.
    const std::vector<QStringList> &find(const QVariantList &keys);

private:
    Table &table_;
    QList<int> keyColumns_;
    QList<int> columns_;
    QString sql_;
    std::vector<QStringList> rows_;
};

// Test seam: while set, a command of the transactions below on a table file
// ("BEGIN IMMEDIATE", "COMMIT" and "ROLLBACK" of the outermost transaction,
// "SAVEPOINT walk2", "RELEASE walk2", "ROLLBACK TO walk2" of a nested one)
// for which `fault` returns true fails as on a full disk, unrun.
void setTransactionFault(std::function<bool(const QString &fileName, const QString &command)> fault);
// The free bytes of the disk that holds a table file, as the room kept ahead
// of a log of changes sees them; tests make a disk nearly full. An empty
// function puts the system's own figure back.
void setFreeSpaceProbe(std::function<qint64(const QString &path)> probe);

// One write transaction on the file of `table`: a walk over many rows, or a
// row read and written back with no other program's change in between.
// Nests; rolled back unless committed (a failed commit included); after a
// roll-back every cursor on the file reads its row again. However a commit or
// roll-back fails, the outermost one leaves no transaction open on the file.
class TableTransaction {
public:
    enum class Scope : quint8 { Walk, Row };
    explicit TableTransaction(Table &table, Scope scope = Scope::Walk);
    ~TableTransaction();
    TableTransaction(const TableTransaction &) = delete;
    TableTransaction &operator=(const TableTransaction &) = delete;
    void commit();
    void rollback();
    // For a walk that adds many rows: the table's indexes not led by one of
    // `keptFields` (the walk's own look-ups) are dropped now and built again,
    // each in one sort, by the commit; a roll-back restores them with the
    // rows. The file's schema after the commit is the one before.
    void deferIndexes(const QStringList &keptFields);

private:
    std::shared_ptr<TableFile> file_;
    QString name_;
    bool walk_ = true;
    bool done_ = false;
    QStringList deferred_; // CREATE statements the commit runs again
};

} // namespace Db
