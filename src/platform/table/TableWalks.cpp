// The table engine's walks: copying rows between tables, reading every row a
// cursor sees in one statement, rows with equal keys, grid pages, and the
// transaction a walk runs in.
#include "platform/table/Table.h"

#include "platform/table/DataSource.h"
#include "platform/table/Database.h"
#include "platform/table/TableError.h"
#include "platform/table/TableFile.h"
#include "platform/format/TextFormat.h"

#include <algorithm>
#include <sqlite3.h>

namespace Db {

namespace {

const QString rowIdColumn = QStringLiteral("rowid");

} // namespace

void TableFile::blankControlsFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    sqlite3_value *value = argv[0];
    // No exception may cross SQLite's C frames.
    try {
        if (sqlite3_value_type(value) == SQLITE_TEXT) {
            const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(value));
            const int size = sqlite3_value_bytes(value);
            // Nearly every value is printable ASCII, which holds no control
            // character: only the others are decoded.
            if (!std::all_of(bytes, bytes + size, [](char c) { return c >= 0x20 && c < 0x7f; })) {
                const QString text = QString::fromUtf8(bytes, size);
                const QString blanked = TextFormat::blankControls(
                    text, sqlite3_value_int(argv[1]) ? TextFormat::Lines::Many : TextFormat::Lines::One);
                if (blanked != text) {
                    const QByteArray utf8 = blanked.toUtf8();
                    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
                    return;
                }
            }
        }
        sqlite3_result_value(context, value);
    } catch (...) {
        sqlite3_result_error_nomem(context);
    }
}

// ------------------------------------------------------------ copies

int Table::appendCopies(Table &source, const QStringList &fieldNames, const std::function<void()> &tick,
                        const std::optional<QStringList> &keptIndexes)
{
    requireActive();
    source.requireActive();
    if (source.file_ == file_)
        throw TableError(QStringLiteral("A table cannot be copied into itself: %1").arg(file_->path()), file_->path());
    checkBrowseMode();
    source.checkBrowseMode();
    const TableSchema &to = file_->schema();
    const TableSchema &from = source.file_->schema();
    QList<int> toColumns, fromColumns;
    // A field of the same type and no wider a width holds only values that
    // setAsString would store unchanged here, so its stored form is copied.
    bool sameForms = true;
    QStringList targetNames, sourceNames;
    for (const QString &name : fieldNames) {
        const int tc = columnOf(name);
        const int fc = source.columnOf(name);
        const FieldDef &a = from.fields[fc];
        const FieldDef &b = to.fields[tc];
        if (b.type == FieldType::AutoInc)
            throw TableError(QStringLiteral("The field %1 is numbered by the table and cannot be written").arg(b.name),
                             file_->path());
        if (a.type != b.type || (b.type == FieldType::Text && a.width > b.width) ||
            (b.type == FieldType::Blob && a.width != b.width))
            sameForms = false;
        toColumns.append(tc);
        fromColumns.append(fc);
        targetNames << quoteName(b.name);
        // A log from elsewhere may hold control characters: a text loses
        // them as it is copied, as storedValue would blank them.
        if (b.type == FieldType::Text || b.type == FieldType::Memo)
            sourceNames << QStringLiteral("blank_controls(%1, %2)")
                               .arg(quoteName(a.name), b.type == FieldType::Memo ? QStringLiteral("1")
                                                                                  : QStringLiteral("0"));
        else
            sourceNames << quoteName(a.name);
    }
    QVariantList where;
    const int shape = source.constraintShape(where, true);
    const QString whereSql = source.constraintSql(shape);
    const quint64 before = file_->changes();
    quint64 appended = 0;
    qint64 lastId = 0;
    // A source in a walk of its own would show this connection only what it committed.
    const bool oneStatement = sameForms && !file_->inTransaction() && !source.file_->inTransaction();
    if (oneStatement) {
        // One INSERT ... SELECT: SQLite copies the rows without any of them
        // passing through here. The source is opened on this connection
        // first, which SQLite allows only outside a transaction.
        const QString alias = QStringLiteral("copysource");
        file_->attach(source.file_->path(), alias);
        struct Detach {
            TableFile *file;
            QString alias;
            ~Detach()
            {
                file->setTick({});
                file->detach(alias);
            }
        } detach{file_.get(), alias};
        file_->setTick(tick);
        TableTransaction transaction(*this);
        if (keptIndexes && source.file_->rowCount() >= file_->rowCount())
            transaction.deferIndexes(*keptIndexes);
        Statement s = file_->prepare(
            QStringLiteral("INSERT INTO main.%1 (%2) SELECT %3 FROM %4.%5 WHERE (%6)%7 ORDER BY %8")
                .arg(file_->quotedTable(), targetNames.join(QStringLiteral(", ")),
                     sourceNames.join(QStringLiteral(", ")), alias, source.file_->quotedTable(), whereSql,
                     tick ? QStringLiteral(" AND walk_tick()") : QString(), source.orderAsc_));
        s.bind(where);
        try {
            s.step();
        } catch (...) {
            file_->rethrowTickError();
            throw;
        }
        appended = file_->lastChanges();
        lastId = appended ? file_->lastInsertRowId() : 0;
        file_->rowsChanged(before, int(appended), appended);
        transaction.commit();
    } else {
        TableTransaction transaction(*this);
        Statement read = source.file_->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
                                                   .arg(sourceNames.join(QStringLiteral(", ")),
                                                        source.file_->quotedTable(), whereSql, source.orderAsc_));
        read.bind(where);
        QStringList marks;
        for (qsizetype i = 0; i < targetNames.size(); ++i)
            marks << QStringLiteral("?");
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(file_->quotedTable(), targetNames.join(QStringLiteral(", ")),
                                        marks.join(QStringLiteral(", ")));
        QVariantList values;
        while (read.step()) {
            if (tick)
                tick();
            values.clear();
            for (qsizetype i = 0; i < toColumns.size(); ++i) {
                const QString text = displayText(from.fields[fromColumns[i]], read.column(int(i)));
                values << storedValue(to.fields[toColumns[i]], text);
            }
            Statement s = file_->prepare(insert);
            s.bind(values);
            s.step();
            ++appended;
            lastId = file_->lastInsertRowId();
        }
        file_->rowsChanged(before, int(appended), appended);
        transaction.commit();
    }
    layoutChanged();
    if (lastId != 0 && fetch(Pick::RowId, {lastId}))
        eof_ = bof_ = false;
    else
        reReadOrNext();
    afterMove();
    return int(appended);
}

// ------------------------------------------------------------------ grids

QStringList Table::fieldTexts(const QString &fieldName) const
{
    QStringList texts;
    walkRows({fieldName}, [&texts](qint64, const QStringList &row) { texts << row.front(); });
    return texts;
}

void Table::walkRows(const QStringList &fieldNames, const RowVisitor &row, Order order) const
{
    requireActive();
    // Kept open until the statement is done, even if `row` closes this cursor.
    const std::shared_ptr<TableFile> file = file_;
    const TableSchema &schema = file->schema();
    QList<int> columns;
    QStringList selected{rowIdColumn};
    for (const QString &name : fieldNames) {
        const int c = columnOf(name);
        columns.append(c);
        // Blobs are shown as a mark in grids, never read whole in a walk.
        selected << (schema.fields[c].type == FieldType::Blob ? QStringLiteral("NULL") : quoteName(schema.fields[c].name));
    }
    const Condition where = constraint();
    const TableFile::WalkPages pages(*file);
    // A statement of its own: `row` may run any other statement on the file
    // (the cached ones included) while this one steps.
    Statement s = file->prepareOwn(QStringLiteral("SELECT %1 FROM %2 WHERE %3%4")
                                       .arg(selected.join(QStringLiteral(", ")), file->quotedTable(), where.sql,
                                            order == Order::Current ? QStringLiteral(" ORDER BY ") + orderAsc_
                                                                    : QString()));
    s.bind(where.args);
    QStringList texts(columns.size());
    while (s.step()) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const FieldDef &def = schema.fields[columns[i]];
            texts[i] = def.type == FieldType::Blob ? QStringLiteral("(BLOB)") : displayText(def, s.column(int(i) + 1));
        }
        row(s.column(0).toLongLong(), texts);
    }
}

EqualRows::EqualRows(Table &table, const QStringList &keyFields, const QStringList &fieldNames) : table_(table)
{
    table_.requireActive();
    const TableSchema &schema = table_.file_->schema();
    QStringList where, selected;
    for (const QString &name : keyFields) {
        const int c = table_.columnOf(name);
        keyColumns_.append(c);
        where << quoteName(schema.fields[c].name) + QStringLiteral(" = ?");
    }
    for (const QString &name : fieldNames) {
        const int c = table_.columnOf(name);
        if (schema.fields[c].type == FieldType::Blob)
            throw TableError(QStringLiteral("The field %1 holds data that cannot be shown").arg(schema.fields[c].name));
        columns_.append(c);
        selected << quoteName(schema.fields[c].name);
    }
    sql_ = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
               .arg(selected.join(QStringLiteral(", ")), table_.file_->quotedTable(), where.join(QStringLiteral(" AND ")));
}

const std::vector<QStringList> &EqualRows::find(const QVariantList &keys)
{
    table_.requireActive();
    rows_.clear();
    const TableSchema &schema = table_.file_->schema();
    QVariantList args;
    args.reserve(keyColumns_.size());
    for (qsizetype i = 0; i < keyColumns_.size(); ++i) {
        const FieldDef &def = schema.fields[keyColumns_[i]];
        const QVariant key = keys.value(i);
        const bool date = key.typeId() == QMetaType::QDate;
        const QString text = date ? QString() : key.toString();
        try {
            args << (date ? storedValue(def, key.toDate()) : storedValue(def, text));
        } catch (const TableError &) {
            return rows_; // no stored value can equal a text the field cannot hold
        }
        if (!date && def.type == FieldType::Text && text.size() > args.back().toString().size())
            return rows_; // the text would have been cut, so no row holds it
    }
    Statement s = table_.file_->prepare(sql_);
    s.bind(args);
    while (s.step()) {
        QStringList texts;
        texts.reserve(columns_.size());
        for (qsizetype i = 0; i < columns_.size(); ++i)
            texts << displayText(schema.fields[columns_[i]], s.column(int(i)));
        rows_.push_back(std::move(texts));
    }
    return rows_;
}

std::vector<RowTexts> Table::readRows(int offset, int count) const
{
    requireActive();
    std::vector<RowTexts> rows;
    if (count <= 0 || offset < 0)
        return rows;
    Condition where = constraint();
    const TableSchema &schema = file_->schema();
    // An offset is counted row by row: rows in the second half are read
    // backwards from the end.
    const int total = recordCount();
    const bool fromEnd = offset > total / 2;
    if (fromEnd) {
        count = std::min(count, total - offset);
        if (count <= 0)
            return rows;
        offset = total - offset - count;
    }
    Statement s = file_->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT ? OFFSET ?")
                                     .arg(selectList_, file_->quotedTable(), where.sql,
                                          fromEnd ? orderDesc_ : orderAsc_));
    where.args << qint64(count) << qint64(offset);
    s.bind(where.args);
    while (s.step()) {
        RowTexts row;
        row.rowId = s.column(0).toLongLong();
        row.texts = QStringList(schema.fields.size(), QString());
        for (int i = 0; i < selected_.size(); ++i)
            row.texts[selected_[i]] = displayText(schema.fields[selected_[i]], s.column(i + 1));
        for (int c = 0; c < schema.fields.size(); ++c)
            if (schema.fields[c].type == FieldType::Blob)
                row.texts[c] = QStringLiteral("(BLOB)");
        rows.push_back(std::move(row));
    }
    if (fromEnd)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

// ------------------------------------------------------------ transactions

TableTransaction::TableTransaction(Table &table, Scope scope) : walk_(scope == Scope::Walk)
{
    table.requireActive();
    file_ = table.file_;
    name_ = file_->beginSavepoint(walk_);
}

TableTransaction::~TableTransaction()
{
    if (!done_) {
        try {
            rollback();
        } catch (...) {
            // A destructor cannot report; a failed rollback has ended the whole
            // transaction of the file already.
        }
    }
}

void TableTransaction::deferIndexes(const QStringList &keptFields)
{
    if (!done_)
        file_->dropIndexes(keptFields, deferred_);
}

void TableTransaction::commit()
{
    if (done_)
        return;
    try {
        for (const QString &sql : std::as_const(deferred_))
            file_->exec(sql);
        file_->releaseSavepoint(name_, walk_);
    } catch (...) {
        // A commit that failed leaves nothing open: its own error is the one
        // to report.
        try {
            rollback();
        } catch (...) {
        }
        throw;
    }
    done_ = true;
}

void TableTransaction::rollback()
{
    if (done_)
        return;
    done_ = true;
    std::exception_ptr error;
    try {
        file_->rollbackSavepoint(name_, walk_);
    } catch (...) {
        error = std::current_exception();
    }
    // Whatever the roll-back reported, the rows the cursors stood on may be gone.
    for (Table *t : QList<Table *>(file_->cursors))
        t->afterRollback();
    if (error)
        std::rethrow_exception(error);
}


} // namespace Db
