#pragma once
// A database is a directory of table files, chosen by its one "PATH=" parameter.

#include <QList>
#include <QString>
#include <QStringList>

namespace Db {

class Table;
struct TableSchema;

// The path of the file `fileName` in `directory`, matched case-insensitively;
// empty when there is none.
QString findFileCaseInsensitive(const QString &directory, const QString &fileName);

// "Tarnel" -> "Tarnel.db"; a name with an extension ("Cbook2.DB") is kept.
QString tableFileName(const QString &tableName);

class Database {
public:
    explicit Database(const QString &name = {});
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QString name() const { return name_; }

    // Parameters may change only while the database is closed.
    void setParams(const QStringList &params);
    QStringList params() const { return params_; }
    void setDirectory(const QString &directory); // params := {"PATH=" + directory}
    QString directory() const;                    // from the "PATH=" parameter

    // Its tables hold only what can be rebuilt from other tables (the award
    // marks from the log): their commits are not synced one by one, so a
    // power cut may lose the latest of them, though never damage a file.
    // Set before its tables open.
    void setRebuildable(bool rebuildable) { rebuildable_ = rebuildable; }
    bool rebuildable() const { return rebuildable_; }

    void open();
    // Closes every table of this database first.
    void close();
    bool isConnected() const { return connected_; }

    // The existing file of `tableName` in the directory, or empty.
    QString resolveTableFile(const QString &tableName) const;
    // Creates the file of `schema` (named `fileName`, default schema.name + ".db").
    void createTable(const TableSchema &schema, const QString &fileName = {}) const;

private:
    friend class Table;
    void attach(Table *table);
    void detach(Table *table);

    QString name_;
    QStringList params_;
    bool connected_ = false;
    bool rebuildable_ = false;
    QList<Table *> tables_;
};

} // namespace Db
