#pragma once
// Binds grids and data-aware controls to a table cursor. A disabled data source
// detaches them and stays silent; enabling it again gives one change event.

#include <QList>
#include <QObject>

#include <initializer_list>

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

// Data sources detached for the time of a walk and attached again however it
// ends, so the grids never stay empty after a failure.
class Detached {
public:
    explicit Detached(std::initializer_list<DataSource *> sources);
    ~Detached();
    Detached(const Detached &) = delete;
    Detached &operator=(const Detached &) = delete;

private:
    QList<DataSource *> sources_;
};

} // namespace Db
