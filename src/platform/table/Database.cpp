#include "platform/table/Database.h"

#include "platform/table/Schema.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <QDir>
#include <QFileInfo>

namespace Db {

QString findFileCaseInsensitive(const QString &directory, const QString &fileName)
{
    if (directory.isEmpty() || fileName.isEmpty())
        return {};
    const QDir dir(directory);
    if (QFileInfo(dir.filePath(fileName)).isFile())
        return dir.filePath(fileName);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

QString tableFileName(const QString &tableName)
{
    return QFileInfo(tableName).suffix().isEmpty() ? tableName + QStringLiteral(".db") : tableName;
}

Database::Database(const QString &name) : name_(name) {}

Database::~Database()
{
    close();
    for (Table *t : std::as_const(tables_))
        t->database_ = nullptr;
}

void Database::setParams(const QStringList &params)
{
    if (connected_)
        throw TableError(QStringLiteral("Cannot change the parameters of the open database %1").arg(name_));
    params_ = params;
}

void Database::setDirectory(const QString &directory)
{
    setParams({QStringLiteral("PATH=") + directory});
}

QString Database::directory() const
{
    for (const QString &p : params_)
        if (p.startsWith(QLatin1String("PATH="), Qt::CaseInsensitive))
            return p.mid(5);
    return {};
}

void Database::open()
{
    connected_ = true;
}

void Database::close()
{
    for (Table *t : std::as_const(tables_))
        t->closeFromDatabase();
    connected_ = false;
}

QString Database::resolveTableFile(const QString &tableName) const
{
    return findFileCaseInsensitive(directory(), tableFileName(tableName));
}

void Database::createTable(const TableSchema &schema, const QString &fileName) const
{
    const QString name = fileName.isEmpty() ? tableFileName(schema.name) : fileName;
    createTableFile(QDir(directory()).filePath(name), schema);
}

void Database::attach(Table *table)
{
    if (!tables_.contains(table))
        tables_.append(table);
}

void Database::detach(Table *table)
{
    tables_.removeAll(table);
}

} // namespace Db
