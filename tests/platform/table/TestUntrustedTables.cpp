// What comes from elsewhere stays data: a table file carrying SQL of its own
// is refused by name and left as it was, and texts written to a table lose
// their control characters.

#include "TableFixture.h"

#include <QtTest>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

using namespace TableFixture;

namespace {

// Ends the test run when an open hangs: a hostile file must be refused, not
// waited for.
class Watchdog {
public:
    explicit Watchdog(int seconds)
        : thread_([this, seconds] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; })) {
                  std::fprintf(stderr, "a hostile table file held up its open\n");
                  std::abort();
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

bool runSql(const QString &path, const QString &sql)
{
    sqlite3 *handle = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &handle) == SQLITE_OK &&
              sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        qWarning("%s", sqlite3_errmsg(handle));
    sqlite3_close(handle);
    return ok;
}

} // namespace

class TestUntrustedTables : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;

private slots:
    void init() { temp = std::make_unique<TempDatabase>(); }
    void cleanup() { temp.reset(); }

    // A log with one contact, then changed by plain SQLite as another program
    // could have left it.
    void hostileFiles_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("trigger rewriting each new contact")
            << "CREATE TRIGGER pwn AFTER INSERT ON Tarnel BEGIN"
               " UPDATE Tarnel SET LogName = 'pwned' WHERE LogNom = new.LogNom; DELETE FROM Tarnel WHERE LogNom = 1; END";
        QTest::newRow("trigger on the description") << "CREATE TRIGGER pwn BEFORE DELETE ON _fields BEGIN SELECT 1; END";
        QTest::newRow("endless view as the description")
            << "DROP TABLE _layout; CREATE VIEW _layout AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)"
               " SELECT CASE WHEN i = 1 THEN 'engine' ELSE 'x' || i END AS key, 'tarnel-table' AS value FROM n";
        QTest::newRow("view beside the table") << "CREATE VIEW Calls AS SELECT LogCall FROM Tarnel";
        // SQL in the table's own definition, run on every post: a costly CHECK
        // or DEFAULT takes seconds and gigabytes for each contact.
        QTest::newRow("costly CHECK")
            << "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, '\"LogName\" TEXT NOT NULL',"
               " '\"LogName\" TEXT NOT NULL CHECK (length(printf(''%.*c'', 50000000, ''x'')) > 0)') WHERE name = 'Tarnel'";
        QTest::newRow("DEFAULT expression")
            << "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql,"
               " '\"LogQth\" TEXT NOT NULL DEFAULT ''''',"
               " '\"LogQth\" TEXT NOT NULL DEFAULT (printf(''%.*c'', 50000000, ''x''))') WHERE name = 'Tarnel'";
        QTest::newRow("generated column")
            << "ALTER TABLE Tarnel ADD COLUMN Pwn TEXT GENERATED ALWAYS AS (printf('%.*c', 50000000, LogCall)) VIRTUAL";
        QTest::newRow("expression index") << "CREATE INDEX pwn ON Tarnel (lower(LogCall))";
        QTest::newRow("partial index") << "CREATE INDEX pwn ON Tarnel (LogCall) WHERE LogName <> ''";
        QTest::newRow("unique index") << "CREATE UNIQUE INDEX pwn ON Tarnel (LogName)";
        QTest::newRow("plain index on the description") << "CREATE INDEX pwn ON _fields (name)";
        QTest::newRow("table of its own") << "CREATE TABLE Notes (text TEXT CHECK (length(text) > 0))";
        // No trigger or view, but each field's type takes long to compute:
        // read to the end it would hold the open for minutes.
        QTest::newRow("slow description")
            << "CREATE TABLE slow (pos INTEGER PRIMARY KEY, name TEXT NOT NULL, width INTEGER);"
               " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n LIMIT 3000)"
               " INSERT INTO slow SELECT i, 'LogCall', 20 FROM n;"
               " ALTER TABLE slow ADD COLUMN type TEXT GENERATED ALWAYS AS"
               " (substr(replace(printf('%.*c', 10000000 + pos, 'x'), 'x', 'yy'), 1, 0) || 'text') VIRTUAL;"
               " DROP TABLE _fields; ALTER TABLE slow RENAME TO _fields";
    }
    void hostileFiles()
    {
        QFETCH(QString, sql);
        temp->db.createTable(logSchema());
        {
            Db::Table log(&temp->db, "Tarnel");
            log.open();
            addRow(log, {{"LogCall", "UR5AAA"}, {"LogName", "Ivan"}});
        }
        const QString path = temp->path("Tarnel.db");
        QVERIFY(runSql(path, sql));
        const QByteArray bytes = fileBytes(path);

        Db::Table log(&temp->db, "Tarnel");
        std::optional<Db::TableError> error;
        {
            // Far beyond the open's own deadline, so a loaded machine or a
            // sanitizer build does not trip it; far below an unbounded read.
            Watchdog watchdog(30);
            error = errorOf([&] {
                log.open();
                addRow(log, {{"LogCall", "K1ABC"}, {"LogName", "Joe"}});
            });
        }
        QVERIFY2(error, "a file running SQL of its own was opened");
        QVERIFY2(namesFile(*error, "Tarnel.db"), qPrintable(error->message()));
        QVERIFY2(error->message().contains("not a table file of this program"), qPrintable(error->message()));
        QVERIFY(!log.isActive());
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(sqliteRows(path, "SELECT LogCall, LogName FROM Tarnel"), QStringList{"UR5AAA|Ivan"});
    }

    // What a tool leaves to speed up its own searches runs nothing: SQLite's
    // statistics of an ANALYZE, plain indexes on the log's columns. The
    // operator's log still opens and takes contacts.
    void harmlessAdditionsOpen_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("statistics") << "ANALYZE";
        QTest::newRow("plain index") << "CREATE INDEX mine ON Tarnel (LogName)";
        QTest::newRow("two-column plain index") << "CREATE INDEX mine ON Tarnel (LogQth COLLATE NOCASE, LogCall DESC)";
    }
    void harmlessAdditionsOpen()
    {
        QFETCH(QString, sql);
        temp->db.createTable(logSchema());
        {
            Db::Table log(&temp->db, "Tarnel");
            log.open();
            addRow(log, {{"LogCall", "UR5AAA"}, {"LogName", "Ivan"}});
        }
        QVERIFY(runSql(temp->path("Tarnel.db"), sql));
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        addRow(log, {{"LogCall", "K1ABC"}, {"LogName", "Joe"}});
        QCOMPARE(walkForward(log, "LogCall"), (QStringList{"UR5AAA", "K1ABC"}));
    }

    // Every way a text reaches a table: a text field is one line, a memo
    // keeps its lines and tabs; other control characters become blanks.
    void controlCharactersBlanked_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("call ending the contest log")
            << "LogCall" << "K1ABC\r\nEND-OF-LOG:" << "K1ABC  END-OF-LOG:";
        QTest::newRow("lone CR") << "LogName" << "Ru\rzu" << "Ru zu";
        QTest::newRow("tab") << "LogQth" << "Lviv\tUkraine" << "Lviv Ukraine";
        QTest::newRow("escape") << "LogRxRst" << "59\x1b[2J" << "59 [2J";
        QTest::newRow("two-line notepad") << "LogNotepad" << "QB2BB\r\nvia bureau\tthanks" << "QB2BB\r\nvia bureau\tthanks";
        QTest::newRow("notepad escape") << "LogNotepad" << "a\x1b\x7f" "b" << "a  b";
    }
    void controlCharactersBlanked()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        temp->db.createTable(logSchema());
        Db::Table log(&temp->db, "Tarnel");
        log.open();
        addRow(log, {{field, text}});
        const qint64 walked = addRow(log, {{"LogCall", "UR5AAA"}});
        QCOMPARE(log.writeTexts(field, {{walked, text}}), 1);
        QCOMPARE(sqliteRows(temp->path("Tarnel.db"), QStringLiteral("SELECT %1 FROM Tarnel ORDER BY LogNom").arg(field)),
                 (QStringList{stored, stored}));
        log.first();
        QCOMPARE(TableFixture::text(log, field), stored);
    }
};

QTEST_GUILESS_MAIN(TestUntrustedTables)
#include "TestUntrustedTables.moc"
