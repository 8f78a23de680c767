#pragma once
// A grid on a data source: shows the cursor's visible fields, keeps the
// cursor's row selected, and moves the cursor to the row the operator picks.

#include "platform/table/GridModel.h"

#include <QTableView>

namespace Db {

class DataSource;

class DbGrid : public QTableView {
    Q_OBJECT
public:
    explicit DbGrid(QWidget *parent = nullptr);

    // Binds the grid (nullptr unbinds it).
    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return source_; }
    GridModel *gridModel() const { return model_; }
    // Fields the operator may edit in place (double click or F2); kept
    // across data sources.
    void setEditableFields(const QStringList &fields);
    // Kept across data sources; see GridModel::setRowBackground.
    void setRowBackground(GridModel::RowBackground background);
    // Kept across data sources; see GridModel::setDeferred.
    void setDeferred(bool deferred);
    // A grid asks for the width of all its columns, unless its columns can
    // outgrow any screen: such a grid scrolls sideways instead.
    void setScrollsSideways(bool scrolls);
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyWidths();
    void selectRow(int row);
    void rowPicked(const QModelIndex &current);

    DataSource *source_ = nullptr;
    GridModel *model_ = nullptr;
    bool following_ = false;
    bool scrollsSideways_ = false;
    bool deferred_ = false;
    GridModel::RowBackground background_;
    QStringList editable_;
    // Pixel widths by header text and width in characters: a grid that
    // follows a cursor's ranges is reset on every keystroke, and measuring
    // texts costs more than the rest of the reset.
    QHash<QString, int> widths_;
};

} // namespace Db
