#pragma once
// Binds grids and data-aware controls to a table cursor. A disabled data source
// detaches them and stays silent; enabling it again gives one change event.

#include <QObject>

namespace Db {

class Table;

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    void setDataSet(Table *table);
    Table *dataSet() const { return table_; }

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    // Called by the table.
    void notifyDataChange();
    void notifyLayoutChange();

signals:
    // The current row changed: a move, a post, a delete, a new order or range,
    // opening, or enabling the data source again.
    void dataChange();
    // Attached or detached (enabled, disabled, another table).
    void stateChange();
    // The rows or columns a grid shows may have changed as a whole.
    void layoutChange();

private:
    Table *table_ = nullptr;
    bool enabled_ = true;
};

} // namespace Db
