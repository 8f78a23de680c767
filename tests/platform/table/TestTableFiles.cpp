// Table files on disk: finding them by name, refusing what is not a table of
// ours without damaging it, the plain SQLite form of the rows, transactions,
// and what survives a killed process.

#include "TableFixture.h"
#include "../../core/FileSizeLimit.h"
#include "platform/table/FileCheck.h"
#include "platform/table/TableFile.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <memory>

#ifndef TABLE_CHILD
#error "TABLE_CHILD must name the table_child helper"
#endif

using namespace TableFixture;

namespace {

QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(seed);
    for (auto &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// A file made by plain SQLite, with a table named like the log but none of
// the engine's own description.
QByteArray foreignSqliteFile(const QString &path)
{
    sqlite3 *handle = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &handle);
    sqlite3_exec(handle,
                 "CREATE TABLE Tarnel (LogCall TEXT, LogDate TEXT);"
                 "INSERT INTO Tarnel VALUES ('UR5AAA', '2024-03-05');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    const QByteArray bytes = fileBytes(path);
    QFile::remove(path);
    return bytes;
}

// A real log file whose pages after the header are overwritten.
QByteArray damagedTableFile(const QString &path)
{
    {
        Db::TableSchema schema = logSchema();
        Db::createTableFile(path, schema);
    }
    QByteArray bytes = fileBytes(path);
    QFile::remove(path);
    if (bytes.size() < 200)
        return {};
    const QByteArray garbage = randomBytes(int(bytes.size()) - 100, 7);
    bytes.replace(100, garbage.size(), garbage);
    return bytes;
}

int countRows(const QString &directory, const QString &tableName = "Tarnel")
{
    Db::Database db;
    db.setDirectory(directory);
    Db::Table table(&db, tableName);
    table.open();
    return table.recordCount();
}

} // namespace

class TestTableFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;

private slots:
    void init() { temp = std::make_unique<TempDatabase>(); }
    void cleanup() { temp.reset(); }

    void tableFileNames_data()
    {
        QTest::addColumn<QString>("tableName");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("plain name") << "Tarnel" << "Tarnel.db";
        QTest::newRow("extension kept") << "Cbook2.DB" << "Cbook2.DB";
        QTest::newRow("own extension") << "Pict.db" << "Pict.db";
    }
    void tableFileNames()
    {
        QFETCH(QString, tableName);
        QFETCH(QString, fileName);
        QCOMPARE(Db::tableFileName(tableName), fileName);
    }

    void filesMatchedWhateverTheirCase_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<QString>("tableName");
        QTest::newRow("lower-case file") << "tarnel.db" << "Tarnel";
        QTest::newRow("upper-case file") << "TARNEL.DB" << "Tarnel";
        QTest::newRow("lower-case name") << "Tarnel.db" << "tarnel";
        QTest::newRow("name with extension") << "Cbook2.DB" << "Cbook2.DB";
        QTest::newRow("name with extension, other case") << "Cbook2.DB" << "cbook2.db";
        QTest::newRow("file in lower case, name with extension") << "cbook2.db" << "Cbook2.DB";
    }
    void filesMatchedWhateverTheirCase()
    {
        QFETCH(QString, onDisk);
        QFETCH(QString, tableName);
        Db::TableSchema schema = logSchema();
        schema.name = QFileInfo(onDisk).completeBaseName();
        Db::createTableFile(temp->path(onDisk), schema);

        QCOMPARE(Db::findFileCaseInsensitive(temp->dir.path(), Db::tableFileName(tableName)), temp->path(onDisk));
        QCOMPARE(QFileInfo(temp->db.resolveTableFile(tableName)).fileName(), onDisk);
        {
            Db::Table table(&temp->db, tableName);
            table.open();
            QCOMPARE(QFileInfo(table.filePath()).fileName(), onDisk);
            addRow(table, {{"LogCall", "UR5AAA"}});
        }
        // Written into that file; no second file beside it.
        QCOMPARE(temp->fileNames(), QStringList{onDisk});
        QCOMPARE(countRows(temp->dir.path(), tableName), 1);
    }

    void missingTable_data()
    {
        QTest::addColumn<QString>("tableName");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("log") << "Tarnel" << "Tarnel.db";
        QTest::newRow("callbook") << "Cbook2.DB" << "Cbook2.DB";
    }
    void missingTable()
    {
        QFETCH(QString, tableName);
        QFETCH(QString, fileName);
        temp->db.createTable(prefixSchema()); // another table does not stand in
        Db::Table table(&temp->db, tableName);
        const auto error = errorOf([&] { table.open(); });
        QVERIFY2(error, "opened a table that does not exist");
        QVERIFY2(namesFile(*error, fileName), qPrintable(error->message()));
        QVERIFY(!table.isActive());
        QCOMPARE(temp->fileNames(), QStringList{"Prefix.db"});
    }

    void notATable_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind :
             {"random bytes", "text", "empty file", "foreign SQLite file", "damaged table", "link to a FIFO"})
            QTest::newRow(kind) << kind;
    }
    void notATable()
    {
        QFETCH(QString, kind);
        const QString path = temp->path("Tarnel.db");
        QByteArray bytes;
        if (kind == "random bytes")
            bytes = randomBytes(8192, 1160);
        else if (kind == "text")
            bytes = QByteArray("LogCall;LogDate\r\nUR5AAA;05.03.2024\r\n").repeated(50);
        else if (kind == "foreign SQLite file")
            bytes = foreignSqliteFile(path);
        else if (kind == "damaged table")
            bytes = damagedTableFile(path);
        QVERIFY(kind == "empty file" || kind == "link to a FIFO" || !bytes.isEmpty());
        if (kind == "link to a FIFO") {
            // Opening it for reading would wait for a writer forever.
            const QString fifo = temp->path("pipe");
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            QVERIFY(QFile::link(fifo, path));
        } else {
            QVERIFY(writeFile(path, bytes));
        }

        Db::Table table(&temp->db, "Tarnel");
        const auto error = errorOf([&] {
            table.open();
            table.first();
        });
        QVERIFY2(error, "opened a file that is not a table of ours");
        QVERIFY2(namesFile(*error, "Tarnel.db"), qPrintable(error->message()));
        QVERIFY(!table.isActive());
        if (kind != "link to a FIFO")
            QCOMPARE(fileBytes(path), bytes);
    }

    // Files that carry our description but not the layout asked for, or a
    // description that contradicts the table inside: each is refused by name,
    // unchanged, and never crashes the program.
    void layoutChecked_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("opens");
        QTest::newRow("same layout") << "same" << true;
        QTest::newRow("older version") << "older" << false;
        QTest::newRow("newer version") << "newer" << false;
        QTest::newRow("another table of the same version") << "foreign" << false;
        QTest::newRow("index naming a missing field") << "index" << false;
        QTest::newRow("field without a column") << "column" << false;
    }
    void layoutChecked()
    {
        QFETCH(QString, kind);
        QFETCH(bool, opens);
        Db::TableSchema stored = logSchema();
        if (kind == "older")
            stored.layoutVersion = 0;
        else if (kind == "newer")
            stored.layoutVersion += 1;
        else if (kind == "foreign")
            stored = Db::TableSchema{"Tarnel", stored.layoutVersion, {{"Prefix", Db::FieldType::Text, 5}}, {}};
        temp->db.createTable(stored);
        const QString path = temp->path("Tarnel.db");
        const char *tamper = kind == "index"    ? "UPDATE _indexes SET fields = 'LogCall,Nowhere' WHERE name = 'ByCall'"
                             : kind == "column" ? "INSERT INTO _fields VALUES (99, 'LogGhost', 'text', 10)"
                                                : nullptr;
        if (tamper) {
            sqlite3 *handle = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &handle);
            QCOMPARE(sqlite3_exec(handle, tamper, nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(handle);
        }
        const QByteArray bytes = fileBytes(path);
        Db::Table table(&temp->db, "Tarnel");
        table.setRequiredSchema(logSchema());
        const auto error = errorOf([&] { table.open(); });
        QCOMPARE(table.isActive(), opens);
        if (!opens) {
            QVERIFY2(error, "a file of another layout was opened");
            QVERIFY2(namesFile(*error, "Tarnel.db"), qPrintable(error->message()));
            QCOMPARE(fileBytes(path), bytes);
        }
    }

    void schemaTravelsWithTheFile()
    {
        temp->db.createTable(logSchema());
        Db::Table table(&temp->db, "Tarnel");
        table.open();
        const Db::TableSchema &schema = table.schema();
        QCOMPARE(schema.fields.size(), logSchema().fields.size());
        QCOMPARE(schema.field("LogQth")->width, 25);
        QCOMPARE(schema.field("LogDate")->type, Db::FieldType::Date);
        QCOMPARE(schema.fieldIndex("LogTxRst"), 11);
        QVERIFY(schema.index("ByCall"));
        QCOMPARE(schema.index("ByCall")->fields, QStringList({"LogCall", "LogDate", "LogTime"}));
        QCOMPARE(table.fieldCount(), 20);
        QCOMPARE(table.field(5).name(), "LogTime");
        QCOMPARE(table.fieldByName("LogBand").size(), 6);
    }

    void createRefusesAnExistingFile()
    {
        temp->db.createTable(logSchema());
        {
            Db::Table table(&temp->db, "Tarnel");
            table.open();
            addRow(table, {{"LogCall", "UR5AAA"}});
        }
        const QByteArray bytes = fileBytes(temp->path("Tarnel.db"));
        const auto again = errorOf([&] { temp->db.createTable(logSchema()); });
        QVERIFY2(again, "created a table over an existing one");
        QVERIFY2(namesFile(*again, "Tarnel.db"), qPrintable(again->message()));
        QCOMPARE(fileBytes(temp->path("Tarnel.db")), bytes);
    }

    void createMatchesNamesWhateverTheirCase()
    {
        temp->db.createTable(logSchema());
        // A second "tarnel.db" beside "Tarnel.db" would leave the log's name ambiguous.
        Db::TableSchema schema = logSchema();
        schema.name = "TARNEL";
        const auto error = errorOf([&] { temp->db.createTable(schema); });
        QVERIFY2(error, "created TARNEL.db beside Tarnel.db");
        QVERIFY2(namesFile(*error, "Tarnel.db"), qPrintable(error->message()));
        QCOMPARE(temp->fileNames(), QStringList{"Tarnel.db"});
    }

    void failedCreationLeavesNoFile()
    {
        const QString path = temp->path("missing/Tarnel.db");
        const auto error = errorOf([&] { Db::createTableFile(path, logSchema()); });
        QVERIFY(error);
        QVERIFY2(namesFile(*error, "Tarnel.db"), qPrintable(error->message()));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(temp->fileNames().isEmpty());
    }

    void rowsReadableByPlainSqlite()
    {
        temp->db.createTable(logSchema());
        temp->db.createTable(kindsSchema());
        {
            Db::Table log(&temp->db, "Tarnel");
            log.open();
            addRow(log, {{"LogCall", "UR5AAA"}, {"LogDate", "05.03.2024"}, {"LogTime", "07:05:09"},
                         {"LogBand", "Satellite"}, {"LogNotepad", "Заметка"}});
            Db::Table kinds(&temp->db, "Kinds");
            kinds.open();
            addRow(kinds, {{"Stamp", "05.03.2024 14:30:15"}, {"Ratio", "50,45"}, {"Count", "12"},
                           {"Day", "29.02.2024"}});
        }
        const QString logFile = temp->path("Tarnel.db");
        QStringList columns;
        for (const auto &def : logSchema().fields)
            columns << def.name;
        QCOMPARE(sqliteRows(logFile, "SELECT name FROM pragma_table_info('Tarnel') ORDER BY cid"), columns);
        QCOMPARE(sqliteRows(logFile, "SELECT LogCall, LogDate, LogTime, LogBand, LogNotepad FROM Tarnel"),
                 QStringList{"UR5AAA|2024-03-05|07:05:09|Satell|Заметка"});

        // Empty texts are '' so ranges and orders treat them alike.
        QStringList nullChecks;
        for (const auto &def : logSchema().fields)
            if (def.type == Db::FieldType::Text || def.type == Db::FieldType::Memo)
                nullChecks << def.name + " IS NULL";
        QCOMPARE(sqliteRows(logFile, "SELECT count(*) FROM Tarnel WHERE " + nullChecks.join(" OR ")),
                 QStringList{"0"});
        QCOMPARE(sqliteRows(logFile, "SELECT typeof(LogQth), length(LogQth) FROM Tarnel"), QStringList{"text|0"});

        QCOMPARE(sqliteRows(temp->path("Kinds.db"), "SELECT Stamp, Day, Ratio * 100, Count + 1 FROM Kinds"),
                 QStringList{"2024-03-05 14:30:15|2024-02-29|5045.0|13"});
    }

    // Two sort orders on the same keys share one index in the file (every
    // post writes it once), and each still sorts as its name says.
    void sortOrdersWithEqualKeysShareOneIndex()
    {
        Db::TableSchema schema = logSchema();
        schema.indexes << index("ByCDT", {"LogCall", "LogDate", "LogTime"});
        temp->db.createTable(schema);
        const QString file = temp->path("Tarnel.db");
        QCOMPARE(sqliteRows(file, "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Tarnel' "
                                  "AND sql LIKE '%\"LogCall\", \"LogDate\", \"LogTime\"%'"),
                 QStringList{"1"});
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        addRow(log, {{"LogCall", "UR5B"}});
        addRow(log, {{"LogCall", "UR5A"}});
        log.setIndexName("ByCDT");
        log.first();
        QCOMPARE(text(log, "LogCall"), QString("UR5A"));
    }

    // Another program (here a second connection) posts a row: counts and a
    // refreshed cursor see it, as they see this program's own posts.
    void anotherConnectionsPostSeenAfterRefresh()
    {
        temp->db.createTable(logSchema());
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        addRow(log, {{"LogCall", "UR5AAA"}, {"LogDate", "05.03.2024"}});
        QCOMPARE(log.recordCount(), 1);
        sqlite3 *other = nullptr;
        sqlite3_open(QFile::encodeName(temp->path("Tarnel.db")).constData(), &other);
        QCOMPARE(sqlite3_exec(other, "INSERT INTO Tarnel (LogCall, LogDate) VALUES ('DL4BDF', '2024-03-06')", nullptr,
                              nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(other);
        log.refresh();
        QCOMPARE(log.recordCount(), 2);
        log.last();
        QCOMPARE(log.fieldByName("LogCall").asString(), QString("DL4BDF"));
    }

    // A file another program holds for writing: the post waits, then says who
    // holds it, and nothing is written.
    void heldByAnotherProgram()
    {
        temp->db.createTable(logSchema());
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        sqlite3 *other = nullptr;
        sqlite3_open(QFile::encodeName(temp->path("Tarnel.db")).constData(), &other);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        const auto error = errorOf([&] { addRow(log, {{"LogCall", "UR5AAA"}}); });
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QVERIFY(error);
        QCOMPARE(error->message(), temp->path("Tarnel.db") +
                                       " is held by another program (for instance a second copy of this one): "
                                       "nothing was written");
        log.cancel(); // as a failed save does
        QCOMPARE(log.recordCount(), 0);
    }

    // A failed write names the system's reason, also where SQLite kept no
    // error number for it (a disk the kernel made read-only under the log).
    void failedWriteNamesTheSystemsReason_data()
    {
        QTest::addColumn<int>("systemError");
        QTest::addColumn<bool>("readOnlyDisk");
        QTest::addColumn<QString>("reason");
        QTest::newRow("number kept") << int(ENOSPC) << false << QString::fromLocal8Bit(std::strerror(ENOSPC));
        QTest::newRow("number lost, disk read-only") << 0 << true << QString::fromLocal8Bit(std::strerror(EROFS));
        QTest::newRow("number kept, disk read-only") << int(EIO) << true << QString::fromLocal8Bit(std::strerror(EIO));
        QTest::newRow("nothing known") << 0 << false << "disk I/O error";
    }
    void failedWriteNamesTheSystemsReason()
    {
        QFETCH(int, systemError);
        QFETCH(bool, readOnlyDisk);
        QFETCH(QString, reason);
        QCOMPARE(Db::systemReason(systemError, readOnlyDisk, "disk I/O error"), reason);
    }

    // The error number a failed write of the log of changes left is named,
    // whatever later calls did to the library's own.
    void failedWriteOfTheLogOfChangesNamesItsReason()
    {
        Db::setFreeSpaceProbe([](const QString &) { return 0; }); // no room written ahead
        const auto probeBack = qScopeGuard([] { Db::setFreeSpaceProbe({}); });
        temp->db.createTable(logSchema());
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        addRow(log, {{"LogCall", "UR5AAA"}});
        std::optional<Db::TableError> error;
        {
            FileSizeLimit limit(QFileInfo(temp->path("Tarnel.db-wal")).size());
            error = errorOf([&] { addRow(log, {{"LogCall", "UR5BBB"}, {"LogName", QString(9000, u'x')}}); });
        }
        QVERIFY(error);
        QCOMPARE(error->message(), "Input/output error on " + temp->path("Tarnel.db") + ": " +
                                       QString::fromLocal8Bit(std::strerror(EFBIG)));
    }

    // The whole file read for damage on a connection of its own: a damaged
    // page is reported by the file's name, nothing in the file changes.
    void fileCheckFindsDamage_data()
    {
        QTest::addColumn<int>("damagedPage"); // 0: none
        QTest::addColumn<bool>("reported");
        QTest::newRow("sound") << 0 << false;
        QTest::newRow("a page of contacts overwritten") << 6 << true;
    }
    void fileCheckFindsDamage()
    {
        QFETCH(int, damagedPage);
        QFETCH(bool, reported);
        temp->db.createTable(logSchema());
        {
            Db::Table log(&temp->db, "Tarnel");
            log.open();
            Db::TableTransaction walk(log);
            for (int i = 0; i < 2000; ++i)
                addRow(log, {{"LogCall", QStringLiteral("UR%1AA").arg(i)}, {"LogName", QString(40, u'n')}});
            walk.commit();
        }
        const QString path = temp->path("Tarnel.db");
        QByteArray bytes = fileBytes(path);
        if (damagedPage > 0)
            bytes.replace((damagedPage - 1) * 4096, 4096, QByteArray(4096, '\x55'));
        QVERIFY(writeFile(path, bytes));
        const std::optional<Db::TableError> error = Db::checkFile(path);
        QCOMPARE(bool(error), reported);
        if (error)
            QVERIFY2(error->message().startsWith(path + " is damaged: "), qPrintable(error->message()));
        QCOMPARE(fileBytes(path), bytes);
    }

    // A row read inside a transaction is already the transaction's to write:
    // another program's change cannot slip in between and be overwritten.
    void transactionKeepsOthersOutFromItsFirstRead_data()
    {
        QTest::addColumn<bool>("row");
        QTest::newRow("walk") << false;
        QTest::newRow("row") << true;
    }
    void transactionKeepsOthersOutFromItsFirstRead()
    {
        QFETCH(bool, row);
        const auto scope = row ? Db::TableTransaction::Scope::Row : Db::TableTransaction::Scope::Walk;
        temp->db.createTable(logSchema());
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        addRow(log, {{"LogCall", "ZL1AB"}});
        sqlite3 *other = nullptr;
        sqlite3_open(QFile::encodeName(temp->path("Tarnel.db")).constData(), &other);
        const auto otherWrites = [other] {
            return sqlite3_exec(other, "UPDATE Tarnel SET LogName = 'other'", nullptr, nullptr, nullptr);
        };
        {
            Db::TableTransaction transaction(log, scope);
            QVERIFY(log.locate("LogCall", "ZL1AB"));
            QCOMPARE(otherWrites(), SQLITE_BUSY);
            log.edit();
            log.fieldByName("LogName").setAsString("mine");
            log.post();
            transaction.commit();
        }
        QCOMPARE(otherWrites(), SQLITE_OK);
        sqlite3_close(other);
    }

    void closingLeavesOnePlainFile()
    {
        temp->db.createTable(logSchema());
        {
            Db::Table first(&temp->db, "Tarnel");
            Db::Table second(&temp->db, "Tarnel");
            first.open();
            second.open();
            for (const char *call : {"A1", "B1", "C1"})
                addRow(first, {{"LogCall", call}});
            second.first();
            first.close();
            second.close();
            QCOMPARE(temp->fileNames(), QStringList{"Tarnel.db"});
        }
        // A copy of the closed file is the whole table.
        QTemporaryDir copyDir;
        QVERIFY(QFile::copy(temp->path("Tarnel.db"), copyDir.filePath("Tarnel.db")));
        QCOMPARE(countRows(copyDir.path()), 3);
    }

    void databaseParameters()
    {
        temp->db.createTable(logSchema());
        QTemporaryDir otherDir;
        Db::createTableFile(otherDir.filePath("Tarnel.db"), logSchema());
        {
            Db::Database other;
            other.setDirectory(otherDir.path());
            Db::Table table(&other, "Tarnel");
            table.open();
            addRow(table, {{"LogCall", "B1"}});
            addRow(table, {{"LogCall", "C1"}});
        }
        QCOMPARE(temp->db.params(), QStringList{"PATH=" + temp->dir.path()});
        QCOMPARE(temp->db.directory(), temp->dir.path());

        temp->db.open();
        QVERIFY(temp->db.isConnected());
        QVERIFY_THROWS_EXCEPTION(Db::TableError, temp->db.setDirectory(otherDir.path()));
        QVERIFY_THROWS_EXCEPTION(Db::TableError, temp->db.setParams({"PATH=" + otherDir.path()}));
        QCOMPARE(temp->db.directory(), temp->dir.path());

        Db::Table table(&temp->db, "Tarnel");
        table.open();
        QCOMPARE(table.recordCount(), 0);

        // The data module's switch of logs: close, new parameter, open again.
        temp->db.close();
        QVERIFY(!temp->db.isConnected());
        QVERIFY(!table.isActive());
        QVERIFY_THROWS_EXCEPTION(Db::TableError, table.first());
        temp->db.setParams({"PATH=" + otherDir.path()});
        QCOMPARE(temp->db.directory(), otherDir.path());
        temp->db.open();
        table.open();
        QCOMPARE(table.recordCount(), 2);
    }

    void closingTheDatabaseCancelsEdits()
    {
        temp->db.createTable(logSchema());
        Db::Table table(&temp->db, "Tarnel");
        table.open();
        addRow(table, {{"LogCall", "A1"}});
        table.edit();
        table.fieldByName("LogCall").setAsString("CHANGED");
        temp->db.close();
        QVERIFY(!table.isActive());
        table.open();
        table.first();
        QCOMPARE(text(table, "LogCall"), "A1");
        QCOMPARE(table.recordCount(), 1);
    }

    void transactions_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("kept");
        QTest::newRow("committed") << "commit" << true;
        QTest::newRow("destroyed without commit") << "drop" << false;
        QTest::newRow("rolled back") << "rollback" << false;
        QTest::newRow("inner dropped, outer committed") << "inner dropped" << false;
    }
    void transactions()
    {
        QFETCH(QString, ending);
        QFETCH(bool, kept);
        temp->db.createTable(logSchema());
        Db::Table log(&temp->db, "Tarnel");
        Db::Table other(&temp->db, "Tarnel");
        log.open();
        other.open();
        addRow(log, {{"LogCall", "A1"}});
        addRow(log, {{"LogCall", "B1"}});
        {
            Db::TableTransaction walk(log);
            {
                Db::TableTransaction inner(log);
                for (const char *call : {"W1", "W2", "W3"})
                    addRow(log, {{"LogCall", call}});
                if (ending != "inner dropped")
                    inner.commit();
            }
            other.last(); // on a row of the walk while it is still open
            if (ending == "commit" || ending == "inner dropped")
                walk.commit();
            else if (ending == "rollback")
                walk.rollback();
        }
        const QStringList expected = kept ? QStringList{"A1", "B1", "W1", "W2", "W3"} : QStringList{"A1", "B1"};
        // Both cursors read their rows again: none stands on a row that is gone.
        QVERIFY(expected.contains(text(log, "LogCall")));
        QVERIFY(expected.contains(text(other, "LogCall")));
        QCOMPARE(log.recordCount(), int(expected.size()));
        QCOMPARE(walkForward(other, "LogCall"), expected);
        log.close();
        other.close();
        QCOMPARE(countRows(temp->dir.path()), int(expected.size()));
    }

    // --- a real process killed while it writes ---

    void killedInTheMiddleOfAWalk()
    {
        temp->db.createTable(logSchema());
        QProcess child;
        child.start(TABLE_CHILD, {"walk", temp->dir.path()});
        QVERIFY(child.waitForStarted());
        QByteArray out;
        while (!out.contains("ready\n") && child.waitForReadyRead(120000))
            out += child.readAllStandardOutput();
        QVERIFY2(out.contains("ready\n"), child.readAllStandardError().constData());
        child.kill();
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const QString path = temp->path("Tarnel.db");
        QCOMPARE(sqliteRows(path, "PRAGMA integrity_check"), QStringList{"ok"});
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        QCOMPARE(log.recordCount(), 300);
        QVERIFY(!log.locate("LogName", "pending"));
        QStringList calls = walkForward(log, "LogCall");
        QCOMPARE(calls.first(), "0");
        QCOMPARE(calls.last(), "299");
        log.close();
        QCOMPARE(sqliteRows(path, "PRAGMA integrity_check"), QStringList{"ok"});
    }

    void killedBetweenPosts()
    {
        temp->db.createTable(logSchema());
        QProcess child;
        child.start(TABLE_CHILD, {"posts", temp->dir.path()});
        QVERIFY(child.waitForStarted());
        QByteArray out;
        while (out.count('\n') < 200 && child.waitForReadyRead(120000))
            out += child.readAllStandardOutput();
        child.kill();
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        out += child.readAllStandardOutput();
        // Only whole lines: each stands for a post that had returned.
        const int returned = int(out.left(out.lastIndexOf('\n') + 1).count('\n'));
        QVERIFY2(returned >= 200, child.readAllStandardError().constData());

        const QString path = temp->path("Tarnel.db");
        QCOMPARE(sqliteRows(path, "PRAGMA integrity_check"), QStringList{"ok"});
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        const QStringList calls = walkForward(log, "LogCall");
        // Every returned post is there, in order; at most one more was on its way.
        QVERIFY2(calls.size() == returned || calls.size() == returned + 1,
                 qPrintable(QStringLiteral("%1 rows, %2 posts returned").arg(calls.size()).arg(returned)));
        for (int i = 0; i < calls.size(); ++i)
            QCOMPARE(calls.at(i), QString::number(i));
    }

    // A disk that fills up while contacts are posted: the operator reads that
    // the disk is full (not that the log is damaged), and every row posted
    // before is still there.
    void fullDiskReportedAsSuch()
    {
        const QString mountPoint = temp->path("small");
        QVERIFY(QDir().mkpath(mountPoint));
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", mountPoint}) != 0)
            QSKIP("a small tmpfs cannot be mounted here");
        int posted = 0;
        std::optional<Db::TableError> error;
        {
            Db::Database db;
            db.setDirectory(mountPoint);
            db.createTable(logSchema());
            Db::Table log(&db, "Tarnel");
            log.open();
            error = errorOf([&] {
                for (; posted < 10000; ++posted)
                    addRow(log, {{"LogCall", QString::number(posted)}, {"LogNotepad", QString(200, u'x')}});
            });
            if (log.state() != Db::Table::State::Browse)
                log.cancel();
        }
        const int kept = countRows(mountPoint);
        QProcess::execute("umount", {mountPoint});
        QVERIFY2(error, "10000 rows fitted into 256 KiB");
        QVERIFY2(error->message().contains("disk is full") && !error->message().contains("not a table file") &&
                     namesFile(*error, "Tarnel.db"),
                 qPrintable(error->message()));
        QCOMPARE(kept, posted);
    }

    // A table that cannot be written is refused at opening, naming what stops
    // it; the child runs without root's privileges, which ignore permissions.
    void readOnlyTable_data()
    {
        QTest::addColumn<bool>("directoryWritable");
        QTest::addColumn<QString>("message"); // %1: the table file
        QTest::newRow("read-only directory") << false << "Cannot write in the directory of the table file %1";
        QTest::newRow("read-only file in a writable directory") << true << "The table file %1 is read-only";
    }
    void readOnlyTable()
    {
        QFETCH(bool, directoryWritable);
        QFETCH(QString, message);
        QTemporaryDir root;
        QVERIFY(QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                       | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                       | QFile::ExeOther));
        const QString dir = root.filePath("readonly");
        QVERIFY(QDir().mkdir(dir));
        const QString path = dir + "/Tarnel.db";
        Db::createTableFile(path, logSchema());
        {
            Db::Database db;
            db.setDirectory(dir);
            Db::Table log(&db, "Tarnel");
            log.open();
            addRow(log, {{"LogCall", "UR5AAA"}});
        }
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                            | QFile::ReadOther | QFile::ExeOther;
        // Writable by the child too, whoever it runs as.
        const auto writable = readOnly | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        QVERIFY(QFile::setPermissions(dir, directoryWritable ? writable : readOnly));
        const QByteArray bytes = fileBytes(path);

        QProcess child;
        child.start(TABLE_CHILD, {"open-readonly", dir});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForFinished(120000));
        const QByteArray out = child.readAllStandardOutput() + child.readAllStandardError();
        QFile::setPermissions(dir, readOnly | QFile::WriteOwner);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, out.constData());
        QCOMPARE(QString::fromLocal8Bit(out).section(u'\n', 0, 0), message.arg(path));
        QCOMPARE(QString::fromLocal8Bit(out).section(u'\n', 2, 2),
                 QStringLiteral("The table Tarnel is not open: ") + message.arg(path));
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{"Tarnel.db"});
    }
};

QTEST_GUILESS_MAIN(TestTableFiles)
#include "TestTableFiles.moc"
