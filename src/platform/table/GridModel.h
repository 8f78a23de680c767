#pragma once
// The rows of a data source's cursor for a grid view: its visible fields in
// its own order and labels, rows read in blocks as the view asks for them.

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <optional>
#include <QHash>
#include <QPointer>
#include <vector>

#include "platform/table/Table.h"

namespace Db {

class DataSource;

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(DataSource *source, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Field name and width in characters of a column.
    QString fieldName(int column) const;
    int widthInCharacters(int column) const;

    // The grid row of the cursor's current row; -1 when none or detached.
    int currentRow() const { return currentRow_; }
    // A click on a grid row moves the cursor there.
    void moveCursorTo(int row);

    // The background of whole rows, decided from a row's field texts (by
    // field name); nothing keeps the normal one. Every cell of the row takes
    // it, the empty ones too.
    using FieldText = std::function<QString(const QString &fieldName)>;
    using RowBackground = std::function<std::optional<QColor>(const FieldText &text)>;
    void setRowBackground(RowBackground background) { background_ = std::move(background); }

    // Fields the operator may edit in the grid; an edit is posted to the row
    // at once (a failure is reported and the row stays as it was).
    void setEditableFields(const QStringList &fields) { editable_ = fields; }
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // While not following (its grid is hidden) changes only mark the model
    // stale; following again brings it up to date at once.
    void setFollowing(bool following);
    // A grid on a cursor that moves many times in one go (on every key the
    // operator types) catches up once events are processed, before it
    // paints: one count and one reset however many moves came before.
    void setDeferred(bool deferred) { deferred_ = deferred; }

signals:
    void currentRowChanged(int row);

private:
    bool attached() const;
    void reset();
    void refreshRows();
    void followCursor();
    void changed(bool layout);
    void catchUp();
    const RowTexts *row(int row) const;

    QPointer<DataSource> source_;
    QList<FieldView> columns_;
    QList<int> columnFields_; // column -> field position in the layout
    int rows_ = 0;
    int currentRow_ = -1;
    Table::Generation generation_;
    quint64 columnsGeneration_ = ~0ULL;
    mutable QHash<int, std::vector<RowTexts>> blocks_;
    RowBackground background_;
    QStringList editable_;
    bool following_ = true;
    bool stale_ = false;
    bool detached_ = false; // its source disabled for a save or a walk: the rows wait
    bool deferred_ = false;
    bool refreshing_ = false; // the view's own current-row moves are not the operator's
    enum class Pending : quint8 { None, Cursor, Layout };
    Pending pending_ = Pending::None;
};

} // namespace Db
