#include "platform/table/Table.h"

#include "platform/table/DataSource.h"
#include "platform/table/Database.h"
#include "platform/table/TableError.h"
#include "platform/table/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace Db {

namespace {

const QString rowIdColumn = QStringLiteral("rowid");

int defaultWidth(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::Text: return qBound(1, f.width, 40);
    case FieldType::Date: return 10;
    case FieldType::Time: return 8;
    case FieldType::DateTime: return 19;
    default: return 10;
    }
}

// How a value bound for a column of this affinity comes back when the row
// is read: unchanged, as the same number in 64 bits, or not known without
// reading it. Fields hold the known kinds.
enum class ComesBack { Same, AsInt64, Unknown };

ComesBack comesBack(char affinity, const QVariant &bound)
{
    switch (bound.typeId()) {
    case QMetaType::QString: {
        const QString &text = *static_cast<const QString *>(bound.constData());
        if (text.isEmpty()) // '' stays text in every column
            return text.isNull() ? ComesBack::Unknown : ComesBack::Same;
        if (affinity != 't' && affinity != 'b')
            return ComesBack::Unknown;
        return QStringView(text).isValidUtf16() ? ComesBack::Same : ComesBack::Unknown;
    }
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
        if (affinity != 'i' && affinity != 'n' && affinity != 'b')
            return ComesBack::Unknown;
        return bound.typeId() == QMetaType::LongLong ? ComesBack::Same : ComesBack::AsInt64;
    case QMetaType::Double: {
        // NaN is stored as NULL and a negative zero as zero.
        const double d = bound.toDouble();
        return affinity == 'r' && !std::isnan(d) && d != 0 ? ComesBack::Same : ComesBack::Unknown;
    }
    default:
        return ComesBack::Unknown;
    }
}

} // namespace

Table::Table(Database *database, const QString &tableName) : tableName_(tableName)
{
    setDatabase(database);
}

Table::~Table()
{
    try {
        close();
    } catch (...) {
        // Closing only cancels and releases; nothing to report from a destructor.
    }
    clearMasterLink();
    for (Table *d : std::as_const(details_))
        d->master_ = nullptr;
    // Unbinding a source removes it from sources_: walk a copy.
    const QList<DataSource *> sources = sources_;
    for (DataSource *s : sources)
        s->setDataSet(nullptr);
    if (database_)
        database_->detach(this);
}

// ------------------------------------------------------------ where it lives

void Table::setDatabase(Database *database)
{
    if (isActive())
        throw TableError(QStringLiteral("Cannot move the open table %1 to another database").arg(tableName_));
    if (database_)
        database_->detach(this);
    database_ = database;
    if (database_)
        database_->attach(this);
}

void Table::setTableName(const QString &tableName)
{
    if (isActive())
        throw TableError(QStringLiteral("Cannot rename the open table %1").arg(tableName_));
    tableName_ = tableName;
}

QString Table::filePath() const
{
    if (file_)
        return file_->path();
    const QString dir = database_ ? database_->directory() : QString();
    const QString found = findFileCaseInsensitive(dir, tableFileName(tableName_));
    return found.isEmpty() ? QDir(dir).filePath(tableFileName(tableName_)) : found;
}

const TableSchema &Table::schema() const
{
    requireActive();
    return file_->schema();
}

// ---------------------------------------------------------------- open/close

void Table::open()
{
    if (isActive())
        return;
    try {
        openFile();
        openError_.clear();
    } catch (const TableError &e) {
        // Kept for every later operation on the closed table: the operator
        // learns why it is not open, not merely that it is closed.
        openError_ = e.message();
        throw;
    }
}

void Table::openFile()
{
    if (!database_)
        throw TableError(QStringLiteral("The table %1 has no database").arg(tableName_));
    if (!database_->isConnected())
        database_->open();
    const QString dir = database_->directory();
    const QString path = findFileCaseInsensitive(dir, tableFileName(tableName_));
    if (path.isEmpty()) {
        const QString expected = QDir(dir).filePath(tableFileName(tableName_));
        throw TableError(QStringLiteral("Table file not found: %1").arg(expected), expected);
    }
    // Every cursor writes; a table that could be read but not posted to would
    // fail later, in the middle of an operator's work.
    const QByteArray nativeDir = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::access(nativeDir.constData(), W_OK) != 0)
        throw TableError(QStringLiteral("Cannot write in the directory of the table file %1").arg(path), path);
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
        throw TableError(QStringLiteral("The table file %1 is read-only").arg(path), path);

    std::shared_ptr<TableFile> file = TableFile::open(path, !database_->rebuildable());
    const TableSchema &schema = file->schema();
    if (requiredSchema_)
        if (const auto why = layoutMismatch(schema, *requiredSchema_))
            throw TableError(QStringLiteral("The table file %1 cannot be used: %2").arg(path, *why), path);
    for (const QString &name : std::as_const(order_))
        if (schema.fieldIndex(name) < 0)
            throw TableError(QStringLiteral("Field %1 not found in %2").arg(name, path), path);
    if (!indexName_.isEmpty() && !schema.index(indexName_))
        throw TableError(QStringLiteral("Index %1 not found in %2").arg(indexName_, path), path);
    if (!detailField_.isEmpty() && schema.fieldIndex(detailField_) < 0)
        throw TableError(QStringLiteral("Field %1 not found in %2").arg(detailField_, path), path);

    file_ = std::move(file);
    file_->cursors.append(this);
    for (const QString &name : std::as_const(prefixCounted_))
        if (const int c = schema.fieldIndex(name); c >= 0 && schema.fields[c].type == FieldType::Text)
            file_->keepPrefixCounts(c);
    state_ = State::Browse;
    range_ = {};
    buildFields();
    rebuildQueries();
    layoutChanged();
    first();
}

void Table::close()
{
    if (!isActive())
        return;
    file_->cursors.removeAll(this);
    file_.reset();
    state_ = State::Inactive;
    fields_.clear();
    hasRow_ = false;
    rowId_ = 0;
    values_.clear();
    modified_ = false;
    eof_ = bof_ = true;
    range_ = {};
    ++columns_;
    setChanged();
    layoutChanged();
    for (Table *d : std::as_const(details_))
        d->masterMoved();
}

void Table::closeFromDatabase()
{
    close();
}

void Table::requireActive() const
{
    if (!isActive() && !openError_.isEmpty())
        throw TableError(QStringLiteral("The table %1 is not open: %2").arg(tableName_, openError_), filePath());
    if (!isActive())
        throw TableError(QStringLiteral("Cannot perform this operation on the closed table %1").arg(filePath()),
                         filePath());
}

void Table::requireEditing() const
{
    requireActive();
    if (state_ != State::Edit && state_ != State::Insert)
        throw TableError(QStringLiteral("The table %1 is not in edit or insert mode").arg(file_->path()),
                         file_->path());
}

void Table::buildFields()
{
    ++columns_;
    const TableSchema &schema = file_->schema();
    fields_.clear();
    values_.clear();
    for (int i = 0; i < schema.fields.size(); ++i) {
        fields_.push_back(std::make_unique<Field>(this, i, schema.fields[i]));
        values_.append(emptyValue(schema.fields[i]));
    }
    loaded_ = QList<bool>(schema.fields.size(), true);
    changed_ = QList<bool>(schema.fields.size(), false);
    selected_.clear();
    QStringList columns{rowIdColumn};
    for (int i = 0; i < schema.fields.size(); ++i) {
        if (schema.fields[i].type == FieldType::Blob)
            continue;
        selected_.append(i);
        columns << quoteName(schema.fields[i].name);
    }
    selectList_ = columns.join(QStringLiteral(", "));
    QStringList inserted, marks;
    for (const FieldDef &f : schema.fields) {
        if (f.type == FieldType::AutoInc)
            continue;
        inserted << quoteName(f.name);
        marks << QStringLiteral("?");
    }
    insertSql_ = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(file_->quotedTable(), inserted.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    updateSql_.clear();
    selectSql_.clear();
}

int Table::columnOf(const QString &fieldName) const
{
    requireActive();
    const int c = file_->schema().fieldIndex(fieldName);
    if (c < 0)
        throw TableError(QStringLiteral("Field %1 not found in %2").arg(fieldName, file_->path()), file_->path());
    return c;
}

void Table::rebuildQueries()
{
    const TableSchema &schema = file_->schema();
    const IndexDef *index = indexName_.isEmpty() ? schema.primaryIndex() : schema.index(indexName_);
    keyExprs_.clear();
    keyColumns_.clear();
    keysBinary_ = !index || !index->caseInsensitive;
    selectSql_.clear();
    if (index) {
        for (const QString &f : index->fields) {
            const int c = schema.fieldIndex(f);
            keyColumns_.append(c);
            keyExprs_.append(quoteName(schema.fields[c].name) +
                             (index->caseInsensitive ? QStringLiteral(" COLLATE NOCASE") : QString()));
        }
    }
    QStringList asc, desc;
    for (const QString &k : std::as_const(keyExprs_)) {
        asc << k;
        desc << k + QStringLiteral(" DESC");
    }
    asc << rowIdColumn;
    desc << rowIdColumn + QStringLiteral(" DESC");
    orderAsc_ = asc.join(QStringLiteral(", "));
    orderDesc_ = desc.join(QStringLiteral(", "));
    ++structure_;
    setChanged();
}

// ------------------------------------------------------------- conditions

std::optional<QVariant> Table::linkValue() const
{
    if (!master_ || !master_->isActive())
        return std::nullopt;
    if (!master_->hasRow_ && master_->state_ != State::Insert)
        return QVariant(); // a master without a row has no detail rows
    const int mc = master_->file_->schema().fieldIndex(masterField_);
    const int dc = file_->schema().fieldIndex(detailField_);
    if (mc < 0 || dc < 0)
        return QVariant();
    const QString text = displayText(master_->file_->schema().fields[mc], master_->values_.value(mc));
    try {
        return storedValue(file_->schema().fields[dc], text);
    } catch (const TableError &) {
        return QVariant();
    }
}

Table::Condition Table::constraint(bool withRange) const
{
    Condition c;
    c.sql = constraintSql(constraintShape(c.args, withRange));
    return c;
}

// Appends the values of the range and link conditions to `args`; returns
// which conditions there are (the shape of their SQL).
int Table::constraintShape(QVariantList &args, bool withRange) const
{
    int shape = 0;
    if (withRange && range_.active && !keyExprs_.isEmpty()) {
        shape |= 1;
        args << range_.low << range_.high;
    }
    if (const auto link = linkValue()) {
        if (!link->isValid()) {
            shape |= 2;
        } else {
            shape |= 4;
            args << *link;
        }
    }
    return shape;
}

QString Table::constraintSql(int shape) const
{
    QStringList parts;
    if (shape & 1)
        parts << (shape & 8 ? QStringLiteral("+") : QString()) + keyExprs_[0] + QStringLiteral(" >= ?")
              << (shape & 16 ? QStringLiteral("+") : QString()) + keyExprs_[0] + QStringLiteral(" <= ?");
    if (shape & 2)
        parts << QStringLiteral("0");
    if (shape & 4)
        parts << quoteName(file_->schema().fields[file_->schema().fieldIndex(detailField_)].name) +
                     QStringLiteral(" = ?");
    return parts.isEmpty() ? QStringLiteral("1") : parts.join(QStringLiteral(" AND "));
}

// The current row's key columns equal to its own values.
Table::Condition Table::keyEquals() const
{
    Condition c;
    QStringList parts;
    for (int i = 0; i < keyExprs_.size(); ++i) {
        parts << keyExprs_[i] + QStringLiteral(" = ?");
        c.args << values_[keyColumns_[i]];
    }
    c.sql = parts.isEmpty() ? QStringLiteral("1") : parts.join(QStringLiteral(" AND "));
    return c;
}

// Rows whose key lies strictly after (or before) the current row's key.
Table::Condition Table::keyCompare(bool after) const
{
    const QString op = after ? QStringLiteral(" > ") : QStringLiteral(" < ");
    Condition c;
    c.args = keyCompareArgs();
    if (keyExprs_.size() == 1) {
        c.sql = keyExprs_[0] + op + u'?';
        return c;
    }
    if (keysBinary_) {
        // A row value compare lets SQLite seek the index directly.
        QStringList marks;
        for (int i = 0; i < keyExprs_.size(); ++i)
            marks << QStringLiteral("?");
        c.sql = u'(' + keyExprs_.join(QStringLiteral(", ")) + QStringLiteral(")") + op + u'(' +
                marks.join(QStringLiteral(", ")) + u')';
        return c;
    }
    QStringList alternatives;
    for (int i = 0; i < keyExprs_.size(); ++i) {
        QStringList terms;
        for (int j = 0; j < i; ++j)
            terms << keyExprs_[j] + QStringLiteral(" = ?");
        terms << keyExprs_[i] + op + u'?';
        alternatives << u'(' + terms.join(QStringLiteral(" AND ")) + u')';
    }
    c.sql = alternatives.join(QStringLiteral(" OR "));
    return c;
}

// The values keyCompare() binds, in its order.
QVariantList Table::keyCompareArgs() const
{
    QVariantList args;
    if (keyExprs_.size() == 1 || keysBinary_) {
        for (int k : keyColumns_)
            args << values_[k];
        return args;
    }
    for (int i = 0; i < keyColumns_.size(); ++i)
        for (int j = 0; j <= i; ++j)
            args << values_[keyColumns_[j]];
    return args;
}

// The SELECT of one row for `pick`; shape -1 is the whole table, without the
// range and link conditions.
QString Table::selectSql(Pick pick, int column, int shape) const
{
    const QString where = shape < 0 ? QStringLiteral("1") : constraintSql(shape);
    auto one = [&](const QString &extra, const QString &order, const QString &columns = QString()) {
        QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                          .arg(columns.isEmpty() ? selectList_ : columns, file_->quotedTable(), where);
        if (!extra.isEmpty())
            sql += QStringLiteral(" AND (") + extra + u')';
        if (!order.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + order;
        return sql + QStringLiteral(" LIMIT 1");
    };
    switch (pick) {
    case Pick::First:
        return one({}, orderAsc_);
    case Pick::Last:
        return one({}, orderDesc_);
    case Pick::Offset:
        return one({}, orderAsc_) + QStringLiteral(" OFFSET ?");
    case Pick::RowId:
        return one(rowIdColumn + QStringLiteral(" = ?"), {});
    case Pick::Locate:
    case Pick::LocateLast:
        return one(quoteName(file_->schema().fields[column].name) + QStringLiteral(" = ?"),
                   pick == Pick::Locate ? orderAsc_ : orderDesc_);
    case Pick::Next:
    case Pick::Prior: {
        const bool forward = pick == Pick::Next;
        const QString rowOp = rowIdColumn + (forward ? QStringLiteral(" > ?") : QStringLiteral(" < ?"));
        const QString rowOrder = forward ? rowIdColumn : rowIdColumn + QStringLiteral(" DESC");
        if (keyExprs_.isEmpty())
            return one(rowOp, rowOrder);
        // First the rows with an equal key (in entry order), then the next
        // key. Each part seeks its index; the second runs only when the first
        // finds nothing. One compare on (key, rowid) would not seek past a
        // long run of equal keys. Only the row id passes through the parts,
        // and the whole is one statement, so one read of the file.
        return QStringLiteral("SELECT %1 FROM %2 WHERE rowid = (SELECT rowid FROM (%3) UNION ALL SELECT rowid FROM (%4) LIMIT 1)")
            .arg(selectList_, file_->quotedTable(),
                 one(keyEquals().sql + QStringLiteral(" AND ") + rowOp, rowOrder, rowIdColumn),
                 one(keyCompare(forward).sql, forward ? orderAsc_ : orderDesc_, rowIdColumn));
    }
    }
    return {};
}

// Reads one row into the buffer; on a miss the buffer is left as it was.
bool Table::fetch(Pick pick, const QVariantList &extra, bool constrained, int column)
{
    const std::optional<QString> lookup = constrained ? lookupKey(pick, extra, column) : std::nullopt;
    quint64 now = ~0ULL;
    if (lookup) {
        now = file_->changes();
        std::optional<QVariant> link = linkValue();
        if (lookups_.set != set_ || lookups_.changes != now || lookups_.link != link || lookups_.rows.size() > 256) {
            lookups_.rows.clear();
            lookups_.set = set_;
            lookups_.changes = now;
            lookups_.link = std::move(link);
        }
        const auto known = lookups_.rows.constFind(*lookup);
        if (known != lookups_.rows.constEnd()) {
            if (*known == 0)
                return false;
            if (hasRow_ && rowId_ == *known && bufferStamp_ == now && state_ == State::Browse && !modified_)
                return true;
        }
    }
    bufferStamp_ = ~0ULL;
    QVariantList args;
    const int shape = constrained ? constraintShape(args, true) : -1;
    if ((pick == Pick::Next || pick == Pick::Prior) && !keyExprs_.isEmpty()) {
        const QVariantList where = args;
        for (int k : std::as_const(keyColumns_))
            args << values_[k];
        args += extra;
        args += where;
        args += keyCompareArgs();
    } else {
        args += extra;
    }
    const quint32 key = quint32(pick) | quint32(column) << 8 | quint32(shape + 1) << 28;
    auto found = selectSql_.constFind(key);
    if (found == selectSql_.constEnd())
        found = selectSql_.insert(key, selectSql(pick, column, shape));
    Statement s = file_->prepare(*found);
    s.bind(args);
    if (!s.step()) {
        if (lookup)
            lookups_.rows.insert(*lookup, 0);
        return false;
    }
    rowId_ = s.column(0).toLongLong();
    for (int i = 0; i < selected_.size(); ++i)
        values_[selected_[i]] = s.column(i + 1);
    const TableSchema &schema = file_->schema();
    for (int c = 0; c < schema.fields.size(); ++c) {
        loaded_[c] = schema.fields[c].type != FieldType::Blob;
        changed_[c] = false;
    }
    hasRow_ = true;
    modified_ = false;
    if (lookup) {
        lookups_.rows.insert(*lookup, rowId_);
        bufferStamp_ = now;
    }
    return true;
}

// Look-ups whose row depends only on the set of rows, not on the current
// one, by a text (or nothing): first, last and locate.
std::optional<QString> Table::lookupKey(Pick pick, const QVariantList &extra, int column) const
{
    if (pick != Pick::First && pick != Pick::Last && pick != Pick::Locate && pick != Pick::LocateLast)
        return std::nullopt;
    if (extra.size() > 1 || (extra.size() == 1 && extra[0].typeId() != QMetaType::QString))
        return std::nullopt;
    return QString::number(int(pick)) + u':' + QString::number(column) + u':' +
           (extra.isEmpty() ? QString() : extra[0].toString());
}

void Table::setChanged()
{
    ++set_;
    lookups_.rows.clear();
}

int Table::count(const Condition &extra, int limit, bool withRange, int filterOnly) const
{
    Condition where;
    const int shape = constraintShape(where.args, withRange);
    where.sql = constraintSql((shape & 1) ? shape | filterOnly : shape);
    if (extra.sql.isEmpty() && where.args.isEmpty() && where.sql == QLatin1String("1"))
        return file_->rowCount();
    if (!extra.sql.isEmpty()) {
        where.sql += QStringLiteral(" AND (") + extra.sql + u')';
        where.args += extra.args;
    }
    QString sql = QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(file_->quotedTable(), where.sql);
    if (limit >= 0) {
        sql = QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM %1 WHERE %2 LIMIT ?)").arg(file_->quotedTable(), where.sql);
        where.args << qint64(limit);
    }
    Statement s = file_->prepare(sql);
    s.bind(where.args);
    s.step();
    return int(s.column(0).toLongLong());
}

bool Table::reload(qint64 rowId)
{
    return fetch(Pick::RowId, {rowId}, false);
}

void Table::setNoRow()
{
    bufferStamp_ = ~0ULL;
    hasRow_ = false;
    rowId_ = 0;
    const TableSchema &schema = file_->schema();
    for (int c = 0; c < schema.fields.size(); ++c) {
        values_[c] = emptyValue(schema.fields[c]);
        loaded_[c] = true;
        changed_[c] = false;
    }
    modified_ = false;
    eof_ = bof_ = true;
}

// The row after (or before) the current one in the current order; the
// cursor is unchanged when there is none.
bool Table::step(bool forward)
{
    return fetch(forward ? Pick::Next : Pick::Prior, {rowId_});
}

// ------------------------------------------------------------------ moves

void Table::afterMove()
{
    for (Table *d : std::as_const(details_))
        d->masterMoved();
    for (DataSource *s : std::as_const(sources_))
        s->notifyDataChange();
}

void Table::layoutChanged()
{
    ++structure_;
    notifyLayout();
}

void Table::notifyLayout()
{
    for (DataSource *s : std::as_const(sources_))
        s->notifyLayoutChange();
}

// First or last row of the current set: bof (or eof) is set, the other flag
// only for an empty set.
void Table::moveToEnd(bool last)
{
    requireActive();
    checkBrowseMode();
    if (fetch(last ? Pick::Last : Pick::First, {})) {
        bof_ = !last;
        eof_ = last;
    } else {
        setNoRow();
    }
    afterMove();
}

void Table::first()
{
    moveToEnd(false);
}

void Table::last()
{
    moveToEnd(true);
}

void Table::next()
{
    requireActive();
    checkBrowseMode();
    if (hasRow_ && step(true)) {
        eof_ = bof_ = false;
        afterMove();
    } else {
        eof_ = true;
    }
}

void Table::prior()
{
    requireActive();
    checkBrowseMode();
    if (hasRow_ && step(false)) {
        eof_ = bof_ = false;
        afterMove();
    } else {
        bof_ = true;
    }
}

bool Table::isEmpty() const
{
    return recordCount() == 0;
}

int Table::recordCount() const
{
    requireActive();
    const Generation g = generation();
    if (g != countGeneration_) {
        countCache_ = rangeCount();
        countGeneration_ = g;
    }
    return countCache_;
}

// Rows of the current set on one side of the current row: `after` or before
// it. Counting stops past `limit` rows (then `limit` is returned).
int Table::countBeside(bool after, int limit) const
{
    const QString side = rowIdColumn + (after ? QStringLiteral(" > ?") : QStringLiteral(" < ?"));
    if (keyExprs_.isEmpty())
        return count({side, {rowId_}}, limit);
    // A greater (or smaller) key, then an equal key entered later (or
    // earlier): two counts that each follow the index. The range's end on
    // the side counted towards only filters: SQLite would seek by it rather
    // than by the current key and walk the whole range to find the few rows
    // beside the current one (a grid on the first row of a large range).
    const int other = count(keyCompare(after), limit, true, keysBinary_ ? (after ? 8 : 16) : 0);
    if (limit >= 0 && other >= limit)
        return other;
    Condition same = keyEquals();
    same.sql += QStringLiteral(" AND ") + side;
    same.args << rowId_;
    return other + count(same, limit >= 0 ? limit - other : -1);
}

// Counting is linear in the rows counted. A range holding most of an
// unlinked table is counted from the rows outside it.
int Table::rangeCount() const
{
    if (!range_.active || master_ || keyExprs_.isEmpty())
        return count({});
    // A range of the texts that begin with a short text (the callsigns that
    // begin with the typed ones): from the file's kept counts.
    if (keysBinary_)
        if (const auto counted = file_->prefixRangeCount(keyColumns_[0], range_.low, range_.high))
            return *counted;
    // Count the rows inside and the rows outside the range in growing steps,
    // so the cost follows the smaller of the two: a callsign's few rows, or a
    // range that holds nearly the whole log.
    const int total = file_->rowCount();
    for (int limit = 1000;; limit *= 4) {
        const int inside = count({}, limit);
        if (inside < limit)
            return inside;
        const int below = count({keyExprs_[0] + QStringLiteral(" < ?"), {range_.low}}, limit, false);
        const int above = below < limit
                              ? count({keyExprs_[0] + QStringLiteral(" > ?"), {range_.high}}, limit - below, false)
                              : 0;
        if (below + above < limit)
            return std::max(0, total - below - above);
        if (limit >= total)
            return count({});
    }
}

int Table::recNo() const
{
    requireActive();
    if (!hasRow_)
        return -1;
    // Counting is linear in the rows counted: both sides are counted in
    // growing steps, so the cost follows the nearer end of the set (a grid
    // stands on the first row after a range is set, on the last after a save).
    // The side found nearer last time is counted first: a cursor that stays
    // at the end (a save after a save) costs one count, not two.
    const int total = recordCount();
    for (int limit = 256;; limit *= 8) {
        for (const bool after : {nearerAfter_, !nearerAfter_}) {
            const int beside = countBeside(after, limit);
            if (beside < limit) {
                nearerAfter_ = after;
                return after ? total - 1 - beside : beside;
            }
        }
        if (limit > total)
            return countBeside(false, -1);
    }
}

void Table::moveToPosition(int position)
{
    requireActive();
    checkBrowseMode();
    if (position < 0 || !fetch(Pick::Offset, {qint64(position)}))
        return;
    eof_ = bof_ = false;
    afterMove();
}

bool Table::moveToRowId(qint64 rowId)
{
    requireActive();
    checkBrowseMode();
    if (!fetch(Pick::RowId, {rowId}))
        return false;
    eof_ = bof_ = false;
    afterMove();
    return true;
}

// ------------------------------------------------------- order and ranges

void Table::setIndexName(const QString &indexName)
{
    if (!isActive()) {
        indexName_ = indexName;
        return;
    }
    if (!indexName.isEmpty() && !file_->schema().index(indexName))
        throw TableError(QStringLiteral("Index %1 not found in %2").arg(indexName, file_->path()), file_->path());
    checkBrowseMode();
    indexName_ = indexName;
    range_ = {};
    rebuildQueries();
    reposition();
}

void Table::setIndexNameKeepingRange(const QString &indexName)
{
    requireActive();
    const int before = keyColumns_.isEmpty() ? -1 : keyColumns_[0];
    const Range kept = range_;
    setIndexName(indexName);
    if (!kept.active || keyColumns_.isEmpty() || before != keyColumns_[0])
        return;
    range_ = kept;
    setChanged();
    reposition();
}

QStringList Table::indexNames() const
{
    requireActive();
    QStringList names;
    for (const IndexDef &i : file_->schema().indexes)
        if (i.kind != IndexKind::Lookup)
            names << i.name;
    return names;
}

void Table::setRange(const QString &low, const QString &high)
{
    requireActive();
    if (keyColumns_.isEmpty())
        throw TableError(QStringLiteral("A range needs an index on %1").arg(file_->path()), file_->path());
    checkBrowseMode();
    const FieldDef &key = file_->schema().fields[keyColumns_[0]];
    // Both ends first: a bad one leaves the range as it was.
    QVariant lowValue = storedValue(key, low);
    QVariant highValue = storedValue(key, high);
    range_.low = std::move(lowValue);
    range_.high = std::move(highValue);
    range_.active = true;
    setChanged();
    // Counts and positions of the old set are void at once, but the grids
    // hear of the new set only once the cursor stands on its first row: a
    // grid then finds its position at once instead of counting from a row
    // of the old set.
    ++structure_;
    first();
    notifyLayout();
}

void Table::keepPrefixCounts(const QString &fieldName)
{
    if (!prefixCounted_.contains(fieldName, Qt::CaseInsensitive))
        prefixCounted_ << fieldName;
    if (isActive()) {
        const int c = columnOf(fieldName);
        if (file_->schema().fields[c].type == FieldType::Text)
            file_->keepPrefixCounts(c);
    }
}

void Table::buildPrefixCounts()
{
    if (isActive())
        file_->buildTallies();
}

bool Table::prefixCountsBuilt() const
{
    return isActive() && file_->talliesBuilt();
}

void Table::cancelRange()
{
    requireActive();
    if (!range_.active)
        return;
    checkBrowseMode();
    range_ = {};
    setChanged();
    reposition();
}

bool Table::locate(const QString &fieldName, const QString &value)
{
    return locateAt(fieldName, value, Pick::Locate);
}

bool Table::locateLast(const QString &fieldName, const QString &value)
{
    return locateAt(fieldName, value, Pick::LocateLast);
}

bool Table::locateAt(const QString &fieldName, const QString &value, Pick pick)
{
    const int c = columnOf(fieldName);
    checkBrowseMode();
    QVariant stored;
    try {
        stored = storedValue(file_->schema().fields[c], value);
    } catch (const TableError &) {
        return false; // no stored value can equal a text the field cannot hold
    }
    if (file_->schema().fields[c].type == FieldType::Text && value.size() > stored.toString().size())
        return false; // the text would have been cut, so no row holds it
    // Keep the current row intact on a miss: fetch() only writes on a hit.
    if (!fetch(pick, {stored}, true, c))
        return false;
    // A row found to be edited (as the award marks are) need not be read twice.
    readStamp_ = file_->changes();
    readRow_ = rowId_;
    eof_ = bof_ = false;
    afterMove();
    return true;
}

// ---------------------------------------------------------------- editing

void Table::checkBrowseMode()
{
    if (state_ == State::Edit || state_ == State::Insert) {
        if (modified_)
            post();
        else
            cancel();
    }
}

void Table::append()
{
    insert();
}

void Table::insert()
{
    requireActive();
    checkBrowseMode();
    rowBeforeInsert_ = hasRow_ ? rowId_ : 0;
    bufferStamp_ = ~0ULL;
    const TableSchema &schema = file_->schema();
    for (int c = 0; c < schema.fields.size(); ++c) {
        values_[c] = emptyValue(schema.fields[c]);
        loaded_[c] = true;
        changed_[c] = false;
    }
    modified_ = false;
    state_ = State::Insert;
    if (const auto link = linkValue(); link && link->isValid()) {
        const int dc = schema.fieldIndex(detailField_);
        values_[dc] = *link;
        changed_[dc] = true;
    }
    // The details follow the new, empty row.
    for (Table *d : std::as_const(details_))
        d->masterMoved();
    for (DataSource *s : std::as_const(sources_))
        s->notifyDataChange();
}

void Table::edit()
{
    requireActive();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (!hasRow_) {
        insert();
        return;
    }
    // Start from the row as stored now: another cursor may have changed it.
    // Unless nothing was written since a look-up read this very row: then
    // the buffer holds it (a roll-back since then has read it again).
    editStamp_ = file_->changes();
    if (!(readRow_ == rowId_ && readStamp_ == editStamp_) && !reload(rowId_))
        throw TableError(QStringLiteral("The current row of %1 no longer exists").arg(file_->path()), file_->path());
    state_ = State::Edit;
}

void Table::post()
{
    requireActive();
    if (state_ == State::Browse)
        return;
    const TableSchema &schema = file_->schema();
    qint64 id = rowId_;
    bool inserted = false;
    bool keepBuffer = false;
    if (state_ == State::Insert) {
        QVariantList args;
        args.reserve(schema.fields.size());
        for (int c = 0; c < schema.fields.size(); ++c)
            if (schema.fields[c].type != FieldType::AutoInc)
                args << values_[c];
        Statement s = file_->prepare(insertSql_);
        s.bind(args);
        const quint64 before = file_->changes();
        s.step();
        id = file_->lastInsertRowId();
        file_->rowChanged(before, 1, id, {});
        inserted = keepBuffer = true;
    } else if (modified_) {
        QByteArray which(schema.fields.size(), '-');
        QVariantList args;
        for (int c = 0; c < schema.fields.size(); ++c) {
            if (!changed_[c])
                continue;
            which[c] = 'x';
            args << values_[c];
        }
        args << rowId_;
        auto sql = updateSql_.constFind(which);
        if (sql == updateSql_.constEnd()) {
            QStringList sets;
            for (int c = 0; c < schema.fields.size(); ++c)
                if (changed_[c])
                    sets << quoteName(schema.fields[c].name) + QStringLiteral(" = ?");
            sql = updateSql_.insert(which, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                               .arg(file_->quotedTable(), sets.join(QStringLiteral(", "))));
        }
        const TableFile::TallyTexts old = file_->tallyTexts(rowId_);
        Statement s = file_->prepare(*sql);
        s.bind(args);
        const quint64 before = file_->changes();
        s.step();
        if (file_->changes() == before)
            throw TableError(QStringLiteral("The row being edited no longer exists in %1").arg(file_->path()),
                             file_->path());
        file_->rowChanged(before, 0, rowId_, old);
        // The buffer's other fields are the row only while nothing else wrote
        // the file since edit() read it.
        keepBuffer = before == editStamp_;
    }
    state_ = State::Browse;
    if ((keepBuffer && storePosted(id, inserted)) || reload(id))
        eof_ = bof_ = false;
    else
        setNoRow();
    afterMove();
}

// After an insert or an update the buffer already holds the row, as SQLite
// stores it for the kinds of value fields hold (an update's unchanged fields
// were read at edit()); only other values make it read the row back.
bool Table::storePosted(qint64 id, bool inserted)
{
    const TableSchema &schema = file_->schema();
    for (int c = 0; c < schema.fields.size(); ++c) {
        const FieldType type = schema.fields[c].type;
        if (inserted ? type == FieldType::Blob || type == FieldType::AutoInc : !changed_[c])
            continue;
        if (type == FieldType::Blob || comesBack(file_->affinity(c), values_[c]) == ComesBack::Unknown)
            return false;
    }
    for (int c = 0; c < schema.fields.size(); ++c) {
        const FieldType type = schema.fields[c].type;
        if (inserted && type == FieldType::AutoInc)
            values_[c] = QVariant(id);
        else if ((inserted || changed_[c]) && type != FieldType::Blob &&
                 comesBack(file_->affinity(c), values_[c]) == ComesBack::AsInt64)
            values_[c] = QVariant(qint64(values_[c].toLongLong()));
        // Blobs are read when first asked for, as after any move.
        loaded_[c] = type != FieldType::Blob;
        changed_[c] = false;
    }
    rowId_ = id;
    hasRow_ = true;
    modified_ = false;
    return true;
}

void Table::cancel()
{
    requireActive();
    if (state_ == State::Browse)
        return;
    const bool inserting = state_ == State::Insert;
    state_ = State::Browse;
    const qint64 back = inserting ? rowBeforeInsert_ : rowId_;
    if (!(back != 0 && reload(back))) {
        if (!fetch(Pick::First, {}))
            setNoRow();
    }
    afterMove();
}

void Table::deleteRecord()
{
    requireActive();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    if (!hasRow_)
        throw TableError(QStringLiteral("Cannot delete from the empty table %1").arg(file_->path()), file_->path());
    {
        const TableFile::TallyTexts old = file_->tallyTexts(rowId_);
        Statement s = file_->prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(file_->quotedTable()));
        s.bind({rowId_});
        const quint64 before = file_->changes();
        s.step();
        file_->rowChanged(before, -1, rowId_, old);
    }
    // The deleted row's key still stands in the buffer: step on from it.
    if (step(true)) {
        eof_ = bof_ = false;
    } else if (fetch(Pick::Last, {})) {
        eof_ = true;
        bof_ = false;
    } else {
        setNoRow();
    }
    afterMove();
}

void Table::refresh()
{
    requireActive();
    checkBrowseMode();
    reposition();
}

// After the set of rows changed (order, range, link, refresh): back on the
// same row where it is still in the set, grids and details told.
void Table::reposition()
{
    layoutChanged();
    reReadOrNext();
    afterMove();
}

void Table::reReadOrNext()
{
    if (hasRow_) {
        if (fetch(Pick::RowId, {rowId_}) || step(true) || fetch(Pick::Last, {})) {
            eof_ = bof_ = false;
            return;
        }
    } else if (fetch(Pick::First, {})) {
        bof_ = true;
        eof_ = false;
        return;
    }
    setNoRow();
}

void Table::afterRollback()
{
    // The file's changes() do not count what a roll-back undid.
    bufferStamp_ = ~0ULL;
    setChanged();
    // A row being edited when its walk was rolled back is dropped with the
    // walk; posting it later would write it outside the transaction.
    if (state_ != State::Browse) {
        state_ = State::Browse;
        modified_ = false;
    }
    reposition();
}

// ------------------------------------------------------------------ walks

int Table::writeTexts(const QString &fieldName, const std::vector<std::pair<qint64, QString>> &rows)
{
    const int c = columnOf(fieldName);
    checkBrowseMode();
    const FieldDef &def = file_->schema().fields[c];
    // Cursors standing on a row keep it in their buffers; those on a written
    // row take the new value, as a read of the row would give it.
    QList<Table *> standing;
    for (Table *t : std::as_const(file_->cursors))
        if (t->state_ == State::Browse && t->hasRow_)
            standing.append(t);
    QList<Table *> moved;
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(file_->quotedTable(), quoteName(def.name));
    TableTransaction transaction(*this);
    const quint64 before = file_->changes();
    quint64 written = 0;
    for (const auto &[rowId, text] : rows) {
        const QVariant stored = storedValue(def, text);
        {
            Statement s = file_->prepare(sql);
            s.bind({stored, rowId});
            s.step();
        }
        if (file_->lastChanges() == 0)
            continue;
        ++written;
        for (Table *t : std::as_const(standing)) {
            if (t->rowId_ != rowId)
                continue;
            switch (comesBack(file_->affinity(c), stored)) {
            case ComesBack::Same: t->values_[c] = stored; break;
            case ComesBack::AsInt64: t->values_[c] = QVariant(qint64(stored.toLongLong())); break;
            case ComesBack::Unknown: t->loaded_[c] = false; break; // read again when asked for
            }
            if (!moved.contains(t))
                moved.append(t);
        }
    }
    file_->rowsChanged(before, 0, written, c);
    transaction.commit();
    for (Table *t : std::as_const(moved))
        for (DataSource *s : std::as_const(t->sources_))
            s->notifyDataChange();
    return int(written);
}

// ----------------------------------------------------------------- fields

int Table::fieldCount() const
{
    requireActive();
    return int(fields_.size());
}

Field &Table::field(int column)
{
    requireActive();
    if (column < 0 || column >= int(fields_.size()))
        throw TableError(QStringLiteral("No field number %1 in %2").arg(column).arg(file_->path()), file_->path());
    return *fields_[size_t(column)];
}

Field &Table::fieldByName(const QString &name)
{
    return *fields_[size_t(columnOf(name))];
}

Field *Table::findField(const QString &name)
{
    if (!isActive())
        return nullptr;
    const int c = file_->schema().fieldIndex(name);
    return c < 0 ? nullptr : fields_[size_t(c)].get();
}

const QVariant &Table::value(int column) const
{
    requireActive();
    if (!loaded_[column] && hasRow_) {
        // Blobs (whole recordings, pictures) are read only when asked for.
        auto *self = const_cast<Table *>(this);
        Statement s = file_->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                         .arg(quoteName(file_->schema().fields[column].name), file_->quotedTable()));
        s.bind({rowId_});
        self->values_[column] = s.step() ? s.column(0) : emptyValue(file_->schema().fields[column]);
        self->loaded_[column] = true;
    }
    return values_[column];
}

void Table::setValue(int column, const QVariant &stored)
{
    requireEditing();
    values_[column] = stored;
    loaded_[column] = true;
    changed_[column] = true;
    modified_ = true;
}

FieldView Table::fieldView(const QString &name) const
{
    const auto found = views_.constFind(name.toLower());
    if (found != views_.constEnd())
        return *found;
    FieldView v;
    v.name = name;
    v.label = name;
    if (isActive()) {
        if (const FieldDef *f = file_->schema().field(name)) {
            v.name = v.label = f->name;
            v.width = defaultWidth(*f);
        }
    }
    return v;
}

void Table::setFieldView(const QString &name, const QString &label, int width, bool visible)
{
    FieldView v = fieldView(name);
    v.label = label;
    v.width = width;
    v.visible = visible;
    views_.insert(name.toLower(), v);
    ++columns_;
    if (isActive())
        layoutChanged();
}

void Table::setFieldVisible(const QString &name, bool visible)
{
    const FieldView v = fieldView(name);
    setFieldView(name, v.label, v.width, visible);
}

void Table::setFieldOrder(const QStringList &names)
{
    order_ = names;
    ++columns_;
    if (isActive())
        layoutChanged();
}

QList<FieldView> Table::visibleFields() const
{
    QList<FieldView> result;
    if (!isActive())
        return result;
    QStringList names;
    for (const QString &n : order_)
        if (const FieldDef *f = file_->schema().field(n); f && !names.contains(f->name))
            names << f->name;
    for (const FieldDef &f : file_->schema().fields)
        if (!names.contains(f.name))
            names << f.name;
    for (const QString &n : std::as_const(names)) {
        const FieldView v = fieldView(n);
        if (v.visible)
            result << v;
    }
    return result;
}

// ---------------------------------------------------------- master-detail

void Table::setMasterLink(Table *master, const QString &masterField, const QString &detailField)
{
    if (master_)
        master_->details_.removeAll(this);
    master_ = master;
    masterField_ = masterField;
    detailField_ = detailField;
    selectSql_.clear(); // the link condition names the detail field
    setChanged();
    if (master_)
        master_->details_.append(this);
    if (isActive()) {
        checkBrowseMode();
        layoutChanged();
        first();
    }
}

void Table::clearMasterLink()
{
    if (!master_)
        return;
    master_->details_.removeAll(this);
    master_ = nullptr;
    masterField_.clear();
    detailField_.clear();
    selectSql_.clear();
    setChanged();
    if (isActive()) {
        checkBrowseMode();
        reposition();
    }
}

void Table::masterMoved()
{
    if (!isActive())
        return;
    checkBrowseMode();
    layoutChanged();
    first();
}

Table::Generation Table::generation() const
{
    return {structure_, file_ ? file_->changes() : 0};
}

void Table::attachDataSource(DataSource *source)
{
    if (!sources_.contains(source))
        sources_.append(source);
}

void Table::detachDataSource(DataSource *source)
{
    sources_.removeAll(source);
}

} // namespace Db
