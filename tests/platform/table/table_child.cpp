// Child process of TestTableFiles. The test kills it in the middle of writing,
// or runs it without privileges, to see what a real process leaves behind.
//
//   table_child walk DIR           commits 300 rows, then appends in an open
//                                  transaction; prints "ready" after 1000 of them
//   table_child posts DIR          posts rows one by one, printing the number of
//                                  each row (its LogCall) once its post returned
//   table_child open-readonly DIR  drops root privileges, then tries to write a
//                                  row; exits 0 when a TableError names the file
//
// The long walks of the program on a program directory DIR, each printing
// "ready" when its cursors are open and "done" when the walk returned:
//   table_child import DIR         imports DIR/import.adi into Log/Log1
//   table_child awards DIR         rebuilds the awards from Log/Log1, emptied first
//   table_child merge DIR          appends Log/Log2 to Log/Log1
//   table_child pack DIR           Image Pack of Sound/Table/Pict.db

#include "awards/AwardsRebuild.h"
#include "core/ProgramTables.h"
#include "core/LogWalks.h"
#include "exchange/LogImport.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"
#include "utilities/UPack.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <grp.h>
#include <unistd.h>

namespace {

// Enough for any test; stops a child whose parent never came to kill it.
constexpr int kMaxRows = 2'000'000;

void appendRow(Db::Table &table, const QString &call, const QString &name)
{
    table.append();
    table.fieldByName("LogCall").setAsString(call);
    table.fieldByName("LogName").setAsString(name);
    table.fieldByName("LogDate").setAsString("05.03.2024");
    table.fieldByName("LogQth").setAsString(QStringLiteral("Some place far away %1").arg(call));
    table.post();
}

int walk(Db::Table &table)
{
    {
        Db::TableTransaction committed(table);
        for (int i = 0; i < 300; ++i)
            appendRow(table, QString::number(i), "committed");
        committed.commit();
    }
    Db::TableTransaction pending(table);
    for (int i = 0; i < kMaxRows; ++i) {
        appendRow(table, QStringLiteral("P%1").arg(i), "pending");
        if (i == 1000) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
    return 4;
}

int posts(Db::Table &table)
{
    for (int i = 0; i < kMaxRows; ++i) {
        appendRow(table, QString::number(i), "posted");
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 4;
}

// Root ignores directory permissions, so it becomes "nobody" first.
bool dropPrivileges()
{
    if (geteuid() != 0)
        return true;
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}

int openReadOnly(Db::Table &table)
{
    if (!dropPrivileges()) {
        std::perror("dropping privileges");
        return 5;
    }
    try {
        table.open();
        appendRow(table, "RO1", "read-only");
        table.close();
    } catch (const Db::TableError &error) {
        std::printf("%s\n%s\n", qPrintable(error.message()), qPrintable(error.file()));
        // What a later operation on the table says: why it is not open.
        try {
            table.first();
        } catch (const Db::TableError &later) {
            std::printf("%s\n", qPrintable(later.message()));
        }
        const bool named = error.message().contains("Tarnel.db", Qt::CaseInsensitive)
                        || error.file().contains("Tarnel.db", Qt::CaseInsensitive);
        return named ? 0 : 2;
    }
    std::puts("no error");
    return 1;
}

void ready()
{
    std::puts("ready");
    std::fflush(stdout);
}

int longWalk(const QString &mode, const QString &dir)
{
    if (mode == "import") {
        QFile file(dir + "/import.adi");
        if (!file.open(QIODevice::ReadOnly))
            return 6;
        const QByteArray bytes = file.readAll();
        ProgramTables p(dir);
        p.log.setIndexName("ByDatTim");
        p.lookup.setIndexName("ByDatTim");
        ready();
        LogImport::importFile(bytes, {p.log, p.lookup, p.allpref, p.prefix, p.marks, p.dxcc, p.ur, p.waz});
    } else if (mode == "awards") {
        ProgramTables p(dir);
        ready();
        AwardsRebuild::rebuild({p.log, p.allpref, p.prefix, p.marks, p.dxcc, p.ur, p.waz}, true);
    } else if (mode == "merge") {
        Db::Database targetDb, sourceDb;
        targetDb.setDirectory(dir + "/Log/Log1");
        sourceDb.setDirectory(dir + "/Log/Log2");
        Db::Table target(&targetDb, "Tarnel"), source(&sourceDb, "Tarnel");
        target.open();
        source.open();
        ready();
        LogWalks::appendLog(source, target, {});
    } else if (mode == "pack") {
        ready();
        TableRebuild::rebuild(Pack::pictureFiles(dir), {});
    } else {
        return 64;
    }
    std::puts("done");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: table_child walk|posts|open-readonly|import|awards|merge|pack DIR\n", stderr);
        return 64;
    }
    const QString mode = args.at(1);
    if (QStringList{"import", "awards", "merge", "pack"}.contains(mode)) {
        try {
            return longWalk(mode, args.at(2));
        } catch (const Db::TableError &error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message()));
            return 3;
        }
    }
    Db::Database db;
    db.setDirectory(args.at(2));
    Db::Table table(&db, "Tarnel");
    try {
        if (mode == "open-readonly")
            return openReadOnly(table);
        table.open();
        if (mode == "walk")
            return walk(table);
        if (mode == "posts")
            return posts(table);
    } catch (const Db::TableError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 3;
    }
    std::fputs("unknown mode\n", stderr);
    return 64;
}
