#pragma once
// One field of a table cursor's current row. Values are read and written as
// their display text (the program's own formats) or as typed values.

#include "platform/table/Schema.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

namespace Db {

// The most characters a memo value keeps: far above any real note (the
// entry's notepad holds a few hundred), and a value from outside beyond it
// would make every later opening of its table slow and large.
constexpr qsizetype maximumMemoLength = 65536;

class Table;

// Conversions between a field's display text and its stored form. `storedValue`
// raises TableError for a text that is not a value of the field's type; it
// writes control characters as blanks (a memo keeps CR, LF and tab).
QVariant storedValue(const FieldDef &field, const QString &text);
// A date as setAsDate stores it.
QVariant storedValue(const FieldDef &field, const QDate &date);
QString displayText(const FieldDef &field, const QVariant &stored);
QVariant emptyValue(const FieldDef &field);

class Field {
public:
    Field(Table *table, int column, const FieldDef &def);

    QString name() const { return def_.name; }
    FieldType type() const { return def_.type; }
    int size() const { return def_.width; }
    int column() const { return column_; } // position in the file's layout

    // Display text: dates "dd.MM.yyyy", times "HH:mm:ss", numbers with a
    // decimal comma, "" for an empty value.
    QString asString() const;
    // Writing needs the table in edit or insert mode. Texts are cut to the
    // field's width; "" empties the field; a text that is not a valid value of
    // the field's type raises TableError and changes nothing.
    void setAsString(const QString &text);

    double asFloat() const;   // 0 when empty
    void setAsFloat(double value);
    qint64 asInteger() const; // 0 when empty
    void setAsInteger(qint64 value);
    QDate asDate() const;
    void setAsDate(const QDate &date);
    QTime asTime() const;
    QDateTime asDateTime() const;
    void setAsDateTime(const QDateTime &dateTime);
    QByteArray asBytes() const;
    void setAsBytes(const QByteArray &bytes);
    // Blob fields to and from files; a file that cannot be read or written
    // raises TableError naming it.
    void loadFromFile(const QString &path);
    void saveToFile(const QString &path) const;

    bool isNull() const;
    void clear();

    // How grids on this cursor show the field. The settings belong to the
    // cursor, so two cursors on one table can show different columns.
    QString displayLabel() const;
    void setDisplayLabel(const QString &label);
    int displayWidth() const;
    void setDisplayWidth(int characters);
    bool isVisible() const;
    void setVisible(bool visible);

private:
    Table *table_;
    int column_;
    FieldDef def_;
};

} // namespace Db
