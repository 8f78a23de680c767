#include "platform/table/Schema.h"

#include "platform/table/Database.h"
#include "platform/table/TableError.h"
#include "platform/table/TableFile.h"

#include <QFile>
#include <algorithm>
#include <QFileInfo>
#include <sqlite3.h>

namespace Db {

namespace {

struct TypeName {
    FieldType type;
    const char *name;
};

constexpr TypeName typeNames[] = {
    {FieldType::Text, "text"},         {FieldType::Integer, "integer"},
    {FieldType::SmallInt, "smallint"}, {FieldType::Float, "float"},
    {FieldType::Date, "date"},         {FieldType::Time, "time"},
    {FieldType::DateTime, "datetime"}, {FieldType::Memo, "memo"},
    {FieldType::Blob, "blob"},         {FieldType::AutoInc, "autoinc"},
};

QString indexKindName(IndexKind kind)
{
    switch (kind) {
    case IndexKind::Primary: return QStringLiteral("primary");
    case IndexKind::Secondary: return QStringLiteral("secondary");
    case IndexKind::Lookup: return QStringLiteral("lookup");
    }
    return {};
}

QString columnDeclaration(const FieldDef &field)
{
    const QString name = quoteName(field.name);
    switch (field.type) {
    case FieldType::AutoInc:
        return name + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::Integer:
    case FieldType::SmallInt:
        return name + QStringLiteral(" INTEGER NOT NULL DEFAULT ''");
    case FieldType::Float:
        return name + QStringLiteral(" REAL NOT NULL DEFAULT ''");
    case FieldType::Blob:
        return name + QStringLiteral(" BLOB NOT NULL DEFAULT x''");
    default:
        return name + QStringLiteral(" TEXT NOT NULL DEFAULT ''");
    }
}

} // namespace

void validateSchema(const TableSchema &schema, const QString &path)
{
    if (schema.name.isEmpty() || schema.fields.isEmpty())
        throw TableError(QStringLiteral("Table layout without name or fields for %1").arg(path), path);
    int autoIncs = 0;
    int primaries = 0;
    for (int i = 0; i < schema.fields.size(); ++i) {
        const FieldDef &f = schema.fields[i];
        if (f.type == FieldType::AutoInc)
            ++autoIncs;
        if (schema.fieldIndex(f.name) != i)
            throw TableError(QStringLiteral("Field %1 declared twice in %2").arg(f.name, path), path);
    }
    for (const IndexDef &i : schema.indexes) {
        if (i.kind == IndexKind::Primary)
            ++primaries;
        if (i.fields.isEmpty())
            throw TableError(QStringLiteral("Index %1 without fields in %2").arg(i.name, path), path);
        for (const QString &f : i.fields)
            if (!schema.field(f))
                throw TableError(QStringLiteral("Index %1 names unknown field %2 in %3").arg(i.name, f, path), path);
    }
    if (autoIncs > 1 || primaries > 1)
        throw TableError(QStringLiteral("More than one auto-increment field or primary index in %1").arg(path), path);
}

std::optional<QString> layoutMismatch(const TableSchema &file, const TableSchema &expected)
{
    if (file.name.compare(expected.name, Qt::CaseInsensitive) != 0)
        return QStringLiteral("it holds the table %1, not %2").arg(file.name, expected.name);
    if (file.layoutVersion != expected.layoutVersion)
        return QStringLiteral("it has layout version %1; this program needs version %2")
            .arg(file.layoutVersion)
            .arg(expected.layoutVersion);
    for (const FieldDef &f : expected.fields) {
        const FieldDef *found = file.field(f.name);
        if (!found || found->type != f.type)
            return QStringLiteral("its field %1 is missing or of another type").arg(f.name);
    }
    for (const IndexDef &i : expected.indexes) {
        const auto same = [&i](const IndexDef &other) {
            if (other.name.compare(i.name, Qt::CaseInsensitive) != 0 || other.fields.size() != i.fields.size())
                return false;
            for (int k = 0; k < i.fields.size(); ++k)
                if (other.fields[k].compare(i.fields[k], Qt::CaseInsensitive) != 0)
                    return false;
            return true;
        };
        if (std::none_of(file.indexes.begin(), file.indexes.end(), same))
            return QStringLiteral("its index %1 is missing or on other fields").arg(i.name);
    }
    return std::nullopt;
}

QString fieldTypeName(FieldType type)
{
    for (const TypeName &t : typeNames)
        if (t.type == type)
            return QString::fromLatin1(t.name);
    return {};
}

std::optional<FieldType> fieldTypeFromName(const QString &name)
{
    for (const TypeName &t : typeNames)
        if (name == QLatin1String(t.name))
            return t.type;
    return std::nullopt;
}

std::optional<IndexKind> indexKindFromName(const QString &name)
{
    for (IndexKind k : {IndexKind::Primary, IndexKind::Secondary, IndexKind::Lookup})
        if (indexKindName(k) == name)
            return k;
    return std::nullopt;
}

const FieldDef *TableSchema::field(const QString &fieldName) const
{
    const int i = fieldIndex(fieldName);
    return i < 0 ? nullptr : &fields[i];
}

int TableSchema::fieldIndex(const QString &fieldName) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const IndexDef *TableSchema::index(const QString &indexName) const
{
    for (const IndexDef &i : indexes)
        if (i.kind != IndexKind::Lookup && i.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

const IndexDef *TableSchema::primaryIndex() const
{
    for (const IndexDef &i : indexes)
        if (i.kind == IndexKind::Primary)
            return &i;
    return nullptr;
}

// The CREATE statement of the index `schema.indexes[position]`, as written
// into a new file.
static QString indexStatement(const TableSchema &schema, int position)
{
    const IndexDef &i = schema.indexes[position];
    QStringList keys;
    for (const QString &f : i.fields)
        keys << quoteName(schema.field(f)->name) + (i.caseInsensitive ? QStringLiteral(" COLLATE NOCASE") : QString());
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(),
             quoteName(QStringLiteral("ix%1_%2").arg(position).arg(i.name)), quoteName(schema.name),
             keys.join(QStringLiteral(", ")));
}

// The CREATE statements of the table and of the description of its layout.
static QStringList tableStatements(const TableSchema &schema)
{
    QStringList columns;
    for (const FieldDef &f : schema.fields)
        columns << columnDeclaration(f);
    return {QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteName(schema.name), columns.join(QStringLiteral(", "))),
            QStringLiteral("CREATE TABLE _layout (key TEXT PRIMARY KEY, value TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE _fields (pos INTEGER PRIMARY KEY, name TEXT NOT NULL, type TEXT NOT NULL, "
                           "width INTEGER NOT NULL)"),
            QStringLiteral("CREATE TABLE _indexes (pos INTEGER PRIMARY KEY, name TEXT NOT NULL, kind TEXT NOT NULL, "
                           "fields TEXT NOT NULL, isunique INTEGER NOT NULL, nocase INTEGER NOT NULL)")};
}

bool isOwnDefinition(const TableSchema &schema, const QString &type, const QString &name, const QString &sql)
{
    if (type == QLatin1String("table")) {
        // SQLite's own, made for the auto-increment field.
        if (name == QLatin1String("sqlite_sequence"))
            return sql == QLatin1String("CREATE TABLE sqlite_sequence(name,seq)");
        // SQLite's statistics, left by a tool's ANALYZE on an operator's log:
        // numbers for the query planner, no SQL that runs.
        if (name == QLatin1String("sqlite_stat1"))
            return sql == QLatin1String("CREATE TABLE sqlite_stat1(tbl,idx,stat)");
        if (name == QLatin1String("sqlite_stat4"))
            return sql == QLatin1String("CREATE TABLE sqlite_stat4(tbl,idx,neq,nlt,ndlt,sample)");
        return tableStatements(schema).contains(sql);
    }
    if (type != QLatin1String("index"))
        return false;
    // SQLite's own, behind a PRIMARY KEY that is not the row id: no SQL of its own.
    if (sql.isEmpty())
        return name.startsWith(QLatin1String("sqlite_autoindex_"));
    return ownIndex(schema, sql) != nullptr;
}

const IndexDef *ownIndex(const TableSchema &schema, const QString &sql)
{
    // Whether an index was left out (shared with another, or the row id
    // itself) does not change the statement of those that were made.
    for (int p = 0; p < schema.indexes.size(); ++p)
        if (sql == indexStatement(schema, p))
            return &schema.indexes[p];
    return nullptr;
}

// The statements that build a table file: the table, its indexes and the
// description of its layout that the engine reads back on opening.
static QStringList schemaStatements(const TableSchema &schema)
{
    const QStringList tables = tableStatements(schema);
    QStringList sql;
    sql << QStringLiteral("PRAGMA journal_mode=WAL");
    sql << tables[0];
    int n = 0;
    QList<QStringList> made; // sort orders with the same keys share one index: every post writes fewer pages
    for (const IndexDef &i : schema.indexes) {
        QStringList keys;
        for (const QString &f : i.fields)
            keys << quoteName(schema.field(f)->name) + (i.caseInsensitive ? QStringLiteral(" COLLATE NOCASE") : QString());
        // The auto-increment field is the row id itself: the table is already
        // ordered and unique on it, and a copy would be written on every insert.
        const bool rowIdOnly = i.fields.size() == 1 && schema.field(i.fields[0])->type == FieldType::AutoInc &&
                               !i.caseInsensitive;
        if ((!i.unique && made.contains(keys)) || rowIdOnly) {
            ++n;
            continue;
        }
        made << keys;
        sql << indexStatement(schema, n++);
    }
    sql << tables.mid(1);
    auto text = [](const QString &s) { return QStringLiteral("'%1'").arg(QString(s).replace(u'\'', QStringLiteral("''"))); };
    sql << QStringLiteral("INSERT INTO _layout VALUES ('engine', 'tarnel-table'), ('table', %1), ('version', '%2')")
               .arg(text(schema.name))
               .arg(schema.layoutVersion);
    for (int p = 0; p < schema.fields.size(); ++p) {
        const FieldDef &f = schema.fields[p];
        sql << QStringLiteral("INSERT INTO _fields VALUES (%1, %2, '%3', %4)")
                   .arg(p)
                   .arg(text(f.name), fieldTypeName(f.type))
                   .arg(f.width);
    }
    for (int p = 0; p < schema.indexes.size(); ++p) {
        const IndexDef &i = schema.indexes[p];
        sql << QStringLiteral("INSERT INTO _indexes VALUES (%1, %2, '%3', %4, %5, %6)")
                   .arg(p)
                   .arg(text(i.name), indexKindName(i.kind), text(i.fields.join(u',')))
                   .arg(i.unique ? 1 : 0)
                   .arg(i.caseInsensitive ? 1 : 0);
    }
    return sql;
}

void createTableFile(const QString &path, const TableSchema &schema)
{
    validateSchema(schema, path);
    const QFileInfo info(path);
    if (info.exists() || !findFileCaseInsensitive(info.absolutePath(), info.fileName()).isEmpty())
        throw TableError(QStringLiteral("Table file already exists: %1").arg(path), path);
    // Built under a temporary name and renamed, so no half-made table is ever
    // found under the real name.
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temp).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString error;
    if (rc == SQLITE_OK) {
        QStringList statements = schemaStatements(schema);
        statements.insert(1, QStringLiteral("BEGIN"));
        statements << QStringLiteral("COMMIT");
        for (const QString &s : statements) {
            char *message = nullptr;
            rc = sqlite3_exec(db, s.toUtf8().constData(), nullptr, nullptr, &message);
            if (rc != SQLITE_OK) {
                error = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
                sqlite3_free(message);
                break;
            }
        }
    } else {
        error = QString::fromUtf8(sqlite3_errstr(rc));
    }
    sqlite3_close(db);
    if (error.isEmpty() && !QFile::rename(temp, path))
        error = QStringLiteral("cannot rename %1").arg(temp);
    if (!error.isEmpty()) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-wal"));
        QFile::remove(temp + QStringLiteral("-shm"));
        throw TableError(QStringLiteral("Cannot create table file %1: %2").arg(path, error), path);
    }
}

} // namespace Db
