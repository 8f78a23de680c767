#include "platform/table/DbGrid.h"

#include "platform/table/DataSource.h"
#include "platform/table/GridModel.h"
#include "platform/ui/Guard.h"

#include <QHeaderView>

namespace Db {

DbGrid::DbGrid(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setVisible(false);
}

void DbGrid::setDataSource(DataSource *source)
{
    if (model_) {
        setModel(nullptr);
        delete model_;
        model_ = nullptr;
    }
    source_ = source;
    if (!source_)
        return;
    model_ = new GridModel(source_, this);
    setModel(model_);
    connect(model_, &QAbstractItemModel::modelReset, this, &DbGrid::applyWidths);
    connect(model_, &GridModel::currentRowChanged, this, &DbGrid::selectRow);
    Ui::connectGuarded(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                       [this](const QModelIndex &current, const QModelIndex &) { rowPicked(current); });
    applyWidths();
    selectRow(model_->currentRow());
}

void DbGrid::applyWidths()
{
    if (!model_)
        return;
    // Widths are given in characters, as the layouts declare them.
    const int charWidth = fontMetrics().averageCharWidth();
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int header = fontMetrics().horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString()) + 12;
        setColumnWidth(c, qMax(model_->widthInCharacters(c) * charWidth + 8, header));
    }
    selectRow(model_->currentRow());
}

void DbGrid::selectRow(int row)
{
    if (!model_ || row < 0 || row >= model_->rowCount())
        return;
    following_ = true;
    setCurrentIndex(model_->index(row, qMax(0, currentIndex().column())));
    scrollTo(model_->index(row, 0));
    following_ = false;
}

void DbGrid::rowPicked(const QModelIndex &current)
{
    if (following_ || !model_ || !current.isValid() || current.row() == model_->currentRow())
        return;
    model_->moveCursorTo(current.row());
}

} // namespace Db
