#pragma once
// Shared set-up of the table engine tests: a database in a temporary directory,
// the layouts of the log and prefix tables declared here (the tests must not
// depend on the program's own declarations), and a few helpers for rows.

#include "platform/table/Database.h"
#include "platform/table/Schema.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <sqlite3.h>

namespace TableFixture {

inline Db::FieldDef field(const QString &name, Db::FieldType type, int width = 0)
{
    Db::FieldDef def;
    def.name = name;
    def.type = type;
    def.width = width;
    return def;
}

inline Db::IndexDef index(const QString &name, const QStringList &fields,
                          Db::IndexKind kind = Db::IndexKind::Secondary, bool unique = false)
{
    Db::IndexDef def;
    def.name = name;
    def.fields = fields;
    def.kind = kind;
    def.unique = unique;
    return def;
}

// The log "Tarnel".
inline Db::TableSchema logSchema()
{
    using T = Db::FieldType;
    Db::TableSchema s;
    s.name = "Tarnel";
    s.fields = {
        field("LogNom", T::AutoInc),     field("LogCall", T::Text, 20), field("LogPref", T::Text, 5),
        field("LogObl", T::Text, 15),    field("LogDate", T::Date),     field("LogTime", T::Time),
        field("LogBand", T::Text, 6),    field("LogMode", T::Text, 10), field("LogName", T::Text, 20),
        field("LogQth", T::Text, 25),    field("LogRxRst", T::Text, 10), field("LogTxRst", T::Text, 10),
        field("LogTxQsl", T::Text, 12),  field("LogRxQsl", T::Text, 12), field("LogNotepad", T::Memo),
        field("LogOther", T::Text, 20),  field("Log1", T::Text, 10),    field("Log2", T::Text, 10),
        field("Log3", T::Text, 10),      field("Log4", T::Text, 10),
    };
    s.indexes = {
        index("ByNom", {"LogNom"}, Db::IndexKind::Primary, true),
        index("ByDatTim", {"LogDate", "LogTime"}),
        index("ByCall", {"LogCall", "LogDate", "LogTime"}),
        index("ByBand", {"LogBand"}),
        index("By1", {"Log1"}),
        index("ByOther", {"LogOther"}),
        index("LookCall", {"LogCall"}, Db::IndexKind::Lookup),
        index("LookObl", {"LogObl"}, Db::IndexKind::Lookup),
    };
    return s;
}

inline Db::TableSchema allprefSchema()
{
    using T = Db::FieldType;
    Db::TableSchema s;
    s.name = "Allpref";
    s.fields = {field("AddPrefix", T::Text, 5), field("MainPrefix", T::Text, 5),
                field("Comments", T::Text, 25), field("Main", T::Text, 1)};
    s.indexes = {index("ByAddPrefix", {"AddPrefix"}, Db::IndexKind::Primary)};
    return s;
}

inline Db::TableSchema prefixSchema()
{
    using T = Db::FieldType;
    Db::TableSchema s;
    s.name = "Prefix";
    s.fields = {field("Prefix", T::Text, 5),   field("DXCCPrefix", T::Text, 5), field("Country", T::Text, 40),
                field("Continent", T::Text, 2), field("TimeDiff", T::Float),     field("Latitude", T::Float),
                field("Longitude", T::Float),   field("ITUZone", T::Text, 5),    field("CQZone", T::Text, 5),
                field("MainPrefix", T::Text, 5)};
    s.indexes = {index("ByPrefix", {"Prefix"}, Db::IndexKind::Primary, true)};
    return s;
}

// One field of every kind, for value conversions.
inline Db::TableSchema kindsSchema()
{
    using T = Db::FieldType;
    Db::TableSchema s;
    s.name = "Kinds";
    s.fields = {field("Name", T::Text, 10), field("Count", T::Integer), field("Small", T::SmallInt),
                field("Ratio", T::Float),   field("Day", T::Date),      field("Clock", T::Time),
                field("Stamp", T::DateTime), field("Note", T::Memo),    field("Data", T::Blob),
                field("Fixed", T::Blob, 4)};
    return s;
}

// A database whose directory is a fresh temporary one.
struct TempDatabase {
    QTemporaryDir dir;
    Db::Database db;

    TempDatabase() { db.setDirectory(dir.path()); }
    QString path(const QString &fileName) const { return dir.filePath(fileName); }
    QStringList fileNames() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
};

using Values = QList<QPair<QString, QString>>; // field name, text

// Appends one row with the given texts; returns its row id.
inline qint64 addRow(Db::Table &table, const Values &values)
{
    table.append();
    for (const auto &[name, text] : values)
        table.fieldByName(name).setAsString(text);
    table.post();
    return table.currentRowId();
}

inline QString text(Db::Table &table, const QString &fieldName)
{
    return table.fieldByName(fieldName).asString();
}

// The texts of one field over the whole current set, in the current order.
inline QStringList walkForward(Db::Table &table, const QString &fieldName)
{
    QStringList texts;
    for (table.first(); !table.eof(); table.next())
        texts << text(table, fieldName);
    return texts;
}

inline QStringList walkBackward(Db::Table &table, const QString &fieldName)
{
    QStringList texts;
    for (table.last(); !table.bof(); table.prior())
        texts.prepend(text(table, fieldName));
    return texts;
}

// The error `action` raises, if any.
template <typename Action>
std::optional<Db::TableError> errorOf(Action &&action)
{
    try {
        action();
    } catch (const Db::TableError &error) {
        return error;
    }
    return std::nullopt;
}

// Whether an error tells the operator which file it is about.
inline bool namesFile(const Db::TableError &error, const QString &fileName)
{
    return error.message().contains(fileName, Qt::CaseInsensitive)
        || error.file().contains(fileName, Qt::CaseInsensitive);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Rows of `sql` run by plain SQLite on a table file, the columns of a row
// joined by '|'; a failure gives one row starting with "error:".
inline QStringList sqliteRows(const QString &path, const QString &sql)
{
    sqlite3 *handle = nullptr;
    QStringList rows;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK) {
        rows << QStringLiteral("error: %1").arg(QString::fromUtf8(sqlite3_errmsg(handle)));
        sqlite3_close(handle);
        return rows;
    }
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        rows << QStringLiteral("error: %1").arg(QString::fromUtf8(sqlite3_errmsg(handle)));
    } else {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList columns;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto *value = reinterpret_cast<const char *>(sqlite3_column_text(statement, c));
                columns << (value ? QString::fromUtf8(value) : QStringLiteral("<null>"));
            }
            rows << columns.join('|');
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return rows;
}

} // namespace TableFixture
