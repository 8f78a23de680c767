#pragma once
// A temporary program directory with empty installed tables, made current the
// way the program finds it at start-up.

#include "core/ProgramDirectory.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <utility>

// Every row of a table file, blobs included, in its primary order.
inline QList<QVariantList> tableRows(const QString &path)
{
    Db::Database db;
    db.setDirectory(QFileInfo(path).absolutePath());
    Db::Table t(&db, QFileInfo(path).fileName());
    t.open();
    QList<QVariantList> all;
    for (t.first(); !t.eof(); t.next()) {
        QVariantList row;
        for (int c = 0; c < t.fieldCount(); ++c)
            row << t.value(c);
        all << row;
    }
    return all;
}

class ProgramFixture {
public:
    ProgramFixture() : previous_(QDir::currentPath())
    {
        ProgramDirectory::installEmptyTables(dir_.path());
        QDir::setCurrent(dir_.path());
    }
    ~ProgramFixture() { QDir::setCurrent(previous_); }
    ProgramFixture(const ProgramFixture &) = delete;
    ProgramFixture &operator=(const ProgramFixture &) = delete;

    QString path(const QString &relative = {}) const { return relative.isEmpty() ? dir_.path() : dir_.filePath(relative); }

    // Appends rows to a table file of the program directory before start-up.
    void addRows(const QString &subdir, const QString &table, const QList<QList<std::pair<QString, QString>>> &rows) const
    {
        Db::Database db;
        db.setDirectory(path(subdir));
        Db::Table t(&db, table);
        t.open();
        // One commit, not one per row: a log of thousands of contacts is
        // written in a moment.
        Db::TableTransaction transaction(t);
        for (const auto &row : rows) {
            t.append();
            for (const auto &[field, value] : row)
                t.fieldByName(field).setAsString(value);
            t.post();
        }
        transaction.commit();
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};
