#include "platform/table/GridModel.h"

#include "platform/table/DataSource.h"
#include "platform/ui/Guard.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <utility>

namespace Db {

namespace {
constexpr int blockSize = 64;
}

GridModel::GridModel(DataSource *source, QObject *parent) : QAbstractTableModel(parent), source_(source)
{
    if (source_) {
        // Reading the table can fail (a damaged or vanished file): through the
        // guard, never across Qt's signal dispatch.
        Ui::connectGuarded(source_.data(), &DataSource::stateChange, this, [this] { changed(true); });
        Ui::connectGuarded(source_.data(), &DataSource::layoutChange, this, [this] { changed(true); });
        Ui::connectGuarded(source_.data(), &DataSource::dataChange, this, [this] { changed(false); });
    }
    Ui::runGuarded([this] { reset(); });
}

// A grid nobody sees (a closed window's) is brought up to date when it is
// shown again: finding the position of a moved cursor can mean counting many
// rows, on every keystroke that moves the cursor.
void GridModel::changed(bool layout)
{
    if (!following_) {
        stale_ = true;
        return;
    }
    // A save or a walk detaches the source and attaches it again: the grid
    // keeps its rows, columns, widths and headers meanwhile, showing no
    // values, and then takes the rows as they are. Dropping the rows and
    // taking them back would cost the view work for every row of the log on
    // every save.
    if (source_ && !source_->isEnabled() && !columns_.isEmpty()) {
        detached_ = true;
        pending_ = Pending::None;
        blocks_.clear();
        return;
    }
    if (std::exchange(detached_, false)) {
        refreshRows();
        return;
    }
    // Only rows wait: new columns change the width the grid asks for, which
    // its window reads as it is shown.
    if (deferred_ && attached() && source_->dataSet()->columnsGeneration() == columnsGeneration_) {
        const Pending was = std::exchange(pending_, std::max(pending_, layout ? Pending::Layout : Pending::Cursor));
        // Queued at normal priority, so it runs before the paint, which Qt
        // posts at low priority.
        if (was == Pending::None)
            QMetaObject::invokeMethod(this, [this] { Ui::runGuarded([this] { catchUp(); }); }, Qt::QueuedConnection);
        return;
    }
    if (layout)
        reset();
    else
        followCursor();
}

void GridModel::catchUp()
{
    const Pending pending = std::exchange(pending_, Pending::None);
    if (pending == Pending::None)
        return;
    if (!following_)
        stale_ = true;
    else if (pending == Pending::Layout)
        refreshRows();
    else
        followCursor();
}

void GridModel::setFollowing(bool following)
{
    following_ = following;
    if (following && std::exchange(stale_, false))
        reset();
}

bool GridModel::attached() const
{
    return source_ && source_->isEnabled() && source_->dataSet() && source_->dataSet()->isActive();
}

void GridModel::reset()
{
    pending_ = Pending::None; // a catch-up still queued finds nothing left to do
    beginResetModel();
    blocks_.clear();
    columns_.clear();
    columnFields_.clear();
    rows_ = 0;
    currentRow_ = -1;
    generation_ = {};
    columnsGeneration_ = ~0ULL;
    try {
        if (attached()) {
            Table *t = source_->dataSet();
            const QList<FieldView> columns = t->visibleFields();
            QList<int> fields;
            for (const FieldView &v : columns)
                fields << t->schema().fieldIndex(v.name);
            rows_ = t->recordCount();
            currentRow_ = t->recNo();
            columns_ = columns;
            columnFields_ = fields;
            generation_ = t->generation();
            columnsGeneration_ = t->columnsGeneration();
        }
    } catch (...) {
        // Whatever failed, the reset ends: an empty grid, and the error goes on.
        rows_ = 0;
        currentRow_ = -1;
        endResetModel();
        emit currentRowChanged(currentRow_);
        throw;
    }
    endResetModel();
    emit currentRowChanged(currentRow_);
}

// Other rows under the same columns (a range moved, rows posted): the view
// keeps its columns, their widths and its headers, and only the rows are
// told, as removed or inserted at the end and all changed. A reset would
// rebuild the headers and lay the view out again on every keystroke.
void GridModel::refreshRows()
{
    if (!attached() || columns_.isEmpty() || source_->dataSet()->columnsGeneration() != columnsGeneration_) {
        reset();
        return;
    }
    pending_ = Pending::None;
    Table *t = source_->dataSet();
    int rows = 0;
    int current = -1;
    try {
        rows = t->recordCount();
        current = t->recNo();
    } catch (...) {
        reset(); // an empty grid, and the error goes on
        throw;
    }
    blocks_.clear();
    generation_ = t->generation();
    const QScopedValueRollback<bool> refreshing(refreshing_, true);
    if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    } else if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
    currentRow_ = current;
    emit currentRowChanged(currentRow_);
}

// Rows may have come or gone (a post, a delete, another cursor's post): the
// generation tells; otherwise only the current row moved.
void GridModel::followCursor()
{
    if (!attached()) {
        if (rows_ != 0 || !columns_.isEmpty())
            reset();
        return;
    }
    Table *t = source_->dataSet();
    if (t->generation() != generation_) {
        refreshRows();
        return;
    }
    const int row = t->recNo();
    if (row != currentRow_) {
        currentRow_ = row;
        emit currentRowChanged(currentRow_);
    }
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

const RowTexts *GridModel::row(int row) const
{
    if (!attached() || row < 0 || row >= rows_)
        return nullptr;
    const int block = row / blockSize;
    auto found = blocks_.find(block);
    if (found == blocks_.end()) {
        if (blocks_.size() > 64)
            blocks_.clear(); // keep memory bounded on a long scroll
        std::vector<RowTexts> rows;
        try {
            rows = source_->dataSet()->readRows(block * blockSize, blockSize);
        } catch (...) {
            return nullptr; // painting shows nothing rather than failing
        }
        found = blocks_.insert(block, std::move(rows));
    }
    const size_t offset = size_t(row % blockSize);
    return offset < found->size() ? &(*found)[offset] : nullptr;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() < columns_.size() &&
        editable_.contains(columns_[index.column()].name, Qt::CaseInsensitive))
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !attached())
        return false;
    const RowTexts *r = row(index.row());
    if (!r)
        return false;
    Table *t = source_->dataSet();
    const qint64 rowId = r->rowId;
    const QString field = columns_[index.column()].name;
    return Ui::runGuarded([&] {
        if (!t->moveToRowId(rowId))
            return;
        t->edit();
        try {
            t->fieldByName(field).setAsString(value.toString());
            t->post();
        } catch (...) {
            t->cancel();
            throw;
        }
    });
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::BackgroundRole && background_ && index.isValid()) {
        const RowTexts *r = row(index.row());
        if (!r)
            return {};
        const TableSchema &schema = source_->dataSet()->schema();
        const auto colour = background_([&](const QString &fieldName) {
            const int field = schema.fieldIndex(fieldName);
            return field >= 0 && field < r->texts.size() ? r->texts[field] : QString();
        });
        return colour ? QVariant(*colour) : QVariant();
    }
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() ||
        index.column() >= columnFields_.size())
        return {};
    const RowTexts *r = row(index.row());
    const int field = columnFields_[index.column()];
    if (!r || field < 0 || field >= r->texts.size())
        return {};
    return r->texts[field];
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columns_.size())
        return columns_[section].label;
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString GridModel::fieldName(int column) const
{
    return column >= 0 && column < columns_.size() ? columns_[column].name : QString();
}

int GridModel::widthInCharacters(int column) const
{
    if (column < 0 || column >= columns_.size())
        return 0;
    // Dates and times always show whole ("dd.MM.yyyy", "HH:mm:ss"), whatever
    // width a layout gives them.
    int whole = 0;
    if (attached() && column < columnFields_.size() && columnFields_[column] >= 0) {
        switch (source_->dataSet()->schema().fields[columnFields_[column]].type) {
        case FieldType::Date: whole = 10; break;
        case FieldType::Time: whole = 8; break;
        case FieldType::DateTime: whole = 19; break;
        default: break;
        }
    }
    return qMax(columns_[column].width, whole);
}

void GridModel::moveCursorTo(int rowNumber)
{
    if (refreshing_)
        return;
    const RowTexts *r = row(rowNumber);
    if (r)
        source_->dataSet()->moveToRowId(r->rowId);
}

} // namespace Db
