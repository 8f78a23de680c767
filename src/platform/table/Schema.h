#pragma once
// Declarations of a table's fields and indexes. The same declaration creates an
// installed table, a template and a test table; the file keeps a copy of it, so
// a table opened later knows its own layout.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace Db {

enum class FieldType {
    Text,     // width in characters; longer texts are cut on writing
    Integer,
    SmallInt, // -32768 .. 32767
    Float,
    Date,     // stored "yyyy-MM-dd"
    Time,     // stored "HH:mm:ss"
    DateTime, // stored "yyyy-MM-dd HH:mm:ss"
    Memo,
    Blob,     // a width above 0 cuts the bytes (fixed-size byte fields)
    AutoInc,  // numbers new rows itself; numbers are never reused
};

QString fieldTypeName(FieldType type);
std::optional<FieldType> fieldTypeFromName(const QString &name);

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int width = 0;
};

enum class IndexKind {
    Primary,   // the order of a table whose index name is empty
    Secondary, // a named sort order
    Lookup,    // serves exact look-ups only; not a sort order
};

struct IndexDef {
    QString name;
    QStringList fields;
    IndexKind kind = IndexKind::Secondary;
    bool unique = false;
    bool caseInsensitive = false;
};

std::optional<IndexKind> indexKindFromName(const QString &name);

struct TableSchema {
    QString name; // the table's name inside its file ("Tarnel")
    int layoutVersion = 1;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    const FieldDef *field(const QString &fieldName) const;
    int fieldIndex(const QString &fieldName) const;
    const IndexDef *index(const QString &indexName) const;
    const IndexDef *primaryIndex() const;
};

// Throws TableError naming `path` when the declaration contradicts itself: a
// field declared twice, an index naming a field that is not declared, more
// than one auto-increment field or primary index.
void validateSchema(const TableSchema &schema, const QString &path);

// Why the layout a file describes is not the expected one (another table, an
// older version, a field or index missing or of another type); nothing when it
// is. Extra fields or indexes in the file do no harm and are accepted.
std::optional<QString> layoutMismatch(const TableSchema &file, const TableSchema &expected);

// Whether an entry of a file's schema (its type, name and SQL as sqlite_master
// holds them) is one the engine writes for `schema`: the table, one of its
// indexes, the description of the layout, or what SQLite adds to these.
bool isOwnDefinition(const TableSchema &schema, const QString &type, const QString &name, const QString &sql);

// The declared index whose CREATE statement the engine writes as `sql`; none
// for any other text.
const IndexDef *ownIndex(const TableSchema &schema, const QString &sql);

// Creates the table file `path` from `schema`. Fails with TableError when the
// file exists or cannot be written; a failed creation leaves no file behind.
void createTableFile(const QString &path, const TableSchema &schema);

} // namespace Db
