#include "platform/table/DbGrid.h"

#include "platform/table/DataSource.h"
#include "platform/table/GridModel.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Guard.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>

namespace Db {

namespace {

// The column header measures every title again whenever the view lays its
// rows out, which a save or a moved cursor asks for: the measure is kept
// while the titles, their font and style stay the same.
class GridHeader final : public QHeaderView {
public:
    explicit GridHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
    {
        // As the table view's own header.
        setSectionsClickable(true);
        setHighlightSections(true);
    }

    QSize sizeHint() const override
    {
        QString key = font().key() + u'\n' + QString::number(quintptr(style())) + u'\n' +
                      QString::number(sortIndicatorSection());
        for (int c = 0; model() && c < count(); ++c)
            key += (isSectionHidden(c) ? u'\v' : u'\n') + model()->headerData(c, orientation()).toString();
        if (key != key_ || !hint_.isValid()) {
            hint_ = QHeaderView::sizeHint();
            key_ = key;
        }
        return hint_;
    }

private:
    mutable QString key_;
    mutable QSize hint_;
};

} // namespace

DbGrid::DbGrid(QWidget *parent) : QTableView(parent)
{
    setHorizontalHeader(new GridHeader(this));
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
    model_->setRowBackground(background_);
    model_->setEditableFields(editable_);
    model_->setDeferred(deferred_);
    model_->setFollowing(isVisible());
    setModel(model_);
    connect(model_, &QAbstractItemModel::modelReset, this, &DbGrid::applyWidths);
    connect(model_, &GridModel::currentRowChanged, this, &DbGrid::selectRow);
    Ui::connectGuarded(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                       [this](const QModelIndex &current, const QModelIndex &) { rowPicked(current); });
    applyWidths();
    selectRow(model_->currentRow());
}

void DbGrid::setRowBackground(GridModel::RowBackground background)
{
    background_ = std::move(background);
    if (model_) {
        model_->setRowBackground(background_);
        viewport()->update();
    }
}

void DbGrid::setDeferred(bool deferred)
{
    deferred_ = deferred;
    if (model_)
        model_->setDeferred(deferred);
}

void DbGrid::setScrollsSideways(bool scrolls)
{
    scrollsSideways_ = scrolls;
    updateGeometry();
}

QSize DbGrid::sizeHint() const
{
    QSize hint = QTableView::sizeHint();
    if (!scrollsSideways_ && model_)
        hint.setWidth(qMax(hint.width(), Ui::allColumnsWidth(this)));
    return hint;
}

void DbGrid::setEditableFields(const QStringList &fields)
{
    editable_ = fields;
    if (model_)
        model_->setEditableFields(fields);
    setEditTriggers(fields.isEmpty() ? QAbstractItemView::NoEditTriggers
                                     : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
}

void DbGrid::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    if (model_)
        model_->setFollowing(true);
}

void DbGrid::hideEvent(QHideEvent *event)
{
    QTableView::hideEvent(event);
    // Only a grid whose window is closed stops following; a window merely
    // minimised keeps its grid current.
    if (model_ && !isVisible())
        model_->setFollowing(false);
}

void DbGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        widths_.clear();
        applyWidths();
    }
}

void DbGrid::applyWidths()
{
    if (!model_)
        return;
    // Widths are given in characters, as the layouts declare them; a digit is
    // the widest character a date, time or report holds, so a column of n
    // digits shows them whole.
    const QFontMetrics metrics = fontMetrics();
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const QString title = model_->headerData(c, Qt::Horizontal).toString();
        const int characters = model_->widthInCharacters(c);
        const QString key = QString::number(characters) + u'\n' + title;
        auto width = widths_.constFind(key);
        if (width == widths_.constEnd()) {
            const int header = metrics.horizontalAdvance(title) + 12;
            const int content = metrics.horizontalAdvance(QString(characters, u'0')) + padding;
            width = widths_.insert(key, qMax(content, header));
        }
        setColumnWidth(c, *width);
    }
    updateGeometry();
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
