// Moving a cursor over the log: ends of the table, sort orders, key ranges,
// look-ups and what a closed cursor refuses.

#include "TableFixture.h"

#include <QtTest>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

using namespace TableFixture;

namespace {

// Six contacts whose orders differ by every index. LogName tags each row.
const QList<Values> contacts = {
    {{"LogName", "r1"}, {"LogCall", "UA9XX"}, {"LogDate", "03.01.2024"}, {"LogTime", "10:00:00"},
     {"LogBand", "14"}, {"Log1", "1"}, {"LogOther", "wTXoAustin"}, {"LogObl", "Asiatic Russia"}},
    {{"LogName", "r2"}, {"LogCall", "DL1AA"}, {"LogDate", "01.01.2024"}, {"LogTime", "12:00:00"},
     {"LogBand", "7"}, {"Log1", "0"}, {"LogOther", "iEU-038oRugen"}, {"LogObl", "Germany"}},
    {{"LogName", "r3"}, {"LogCall", "UA9XX"}, {"LogDate", "01.01.2024"}, {"LogTime", "09:00:00"},
     {"LogBand", "14"}, {"Log1", "1"}, {"LogOther", ""}, {"LogObl", "Asiatic Russia"}},
    {{"LogName", "r4"}, {"LogCall", "K1ABC"}, {"LogDate", "01.01.2024"}, {"LogTime", "08:00:00"},
     {"LogBand", "21"}, {"Log1", ""}, {"LogOther", ""}, {"LogObl", "USA"}},
    {{"LogName", "r5"}, {"LogCall", "DL1AA"}, {"LogDate", "02.01.2024"}, {"LogTime", "23:59:59"},
     {"LogBand", "14"}, {"Log1", ""}, {"LogOther", "wCAoX"}, {"LogObl", "Germany"}},
    {{"LogName", "r6"}, {"LogCall", "ua9xx"}, {"LogDate", "05.01.2024"}, {"LogTime", "00:00:00"},
     {"LogBand", "7"}, {"Log1", ""}, {"LogOther", ""}, {"LogObl", "Asiatic Russia"}},
};

QStringList tags(const char *spaced) { return QString::fromLatin1(spaced).split(' ', Qt::SkipEmptyParts); }

// Walks the current order to the row tagged `name`.
bool goTo(Db::Table &table, const QString &name)
{
    for (table.first(); !table.eof(); table.next())
        if (text(table, "LogName") == name)
            return true;
    return false;
}

} // namespace

class TestTableNavigation : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;
    std::unique_ptr<Db::Table> log;

    void fillLog()
    {
        for (const auto &row : contacts)
            addRow(*log, row);
    }

private slots:
    void init()
    {
        temp = std::make_unique<TempDatabase>();
        temp->db.createTable(logSchema());
        log = std::make_unique<Db::Table>(&temp->db, "Tarnel");
        log->open();
    }
    void cleanup()
    {
        log.reset();
        temp.reset();
    }

    void emptyTable_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("move");
        for (const char *order : {"", "ByCall"})
            for (const char *move : {"first", "last", "next", "prior"})
                QTest::addRow("%s %s", *order ? order : "entry order", move) << order << move;
    }
    void emptyTable()
    {
        QFETCH(QString, order);
        QFETCH(QString, move);
        log->setIndexName(order);
        const std::map<QString, std::function<void()>> moves = {
            {"first", [&] { log->first(); }},
            {"last", [&] { log->last(); }},
            {"next", [&] { log->next(); }},
            {"prior", [&] { log->prior(); }},
        };
        moves.at(move)();
        QVERIFY(log->eof());
        QVERIFY(log->bof());
        QVERIFY(log->isEmpty());
        QCOMPARE(log->recordCount(), 0);
        QCOMPARE(log->recNo(), -1);
        QCOMPARE(log->currentRowId(), qint64(0));
        QCOMPARE(text(*log, "LogCall"), QString());
        QCOMPARE(text(*log, "LogDate"), QString());
        QCOMPARE(log->fieldByName("LogNom").asInteger(), 0);
    }

    void orders_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("entry order") << "" << tags("r1 r2 r3 r4 r5 r6");
        QTest::newRow("date and time") << "ByDatTim" << tags("r4 r3 r2 r5 r1 r6");
        // Same call: by date, then time; upper case sorts before lower case.
        QTest::newRow("call, date, time") << "ByCall" << tags("r2 r5 r4 r3 r1 r6");
        // Band keys are texts ("14" < "21" < "7"); equal keys keep the order of entry.
        QTest::newRow("band, ties in entry order") << "ByBand" << tags("r1 r3 r5 r4 r2 r6");
        QTest::newRow("empty keys first") << "By1" << tags("r4 r5 r6 r2 r1 r3");
        QTest::newRow("award reference") << "ByOther" << tags("r3 r4 r6 r2 r5 r1");
    }
    void orders()
    {
        QFETCH(QString, order);
        QFETCH(QStringList, expected);
        fillLog();
        log->setIndexName(order);
        QCOMPARE(log->indexName(), order);
        QCOMPARE(walkForward(*log, "LogName"), expected);
        QCOMPARE(walkBackward(*log, "LogName"), expected);
        for (int position = 0; position < expected.size(); ++position) {
            log->moveToPosition(position);
            QCOMPARE(log->recNo(), position);
            QCOMPARE(text(*log, "LogName"), expected.at(position));
        }
    }

    void indexNames()
    {
        const QStringList names = log->indexNames();
        for (const char *name : {"ByDatTim", "ByCall", "ByBand", "By1", "ByOther"})
            QVERIFY2(names.contains(name), name);
        // Look-up helpers are no sort order.
        QVERIFY(!names.contains("LookCall"));
        QVERIFY(!names.contains("LookObl"));
    }

    void unknownIndexIsRefused()
    {
        fillLog();
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->setIndexName("ByNothing"));
    }

    void endsOfTheTable()
    {
        fillLog();
        log->setIndexName("ByCall");
        const QStringList order = tags("r2 r5 r4 r3 r1 r6");

        log->last();
        QCOMPARE(text(*log, "LogName"), "r6");
        log->next();
        QVERIFY(log->eof());
        QCOMPARE(text(*log, "LogName"), "r6"); // stays on the last row
        log->next();
        QVERIFY(log->eof());
        QCOMPARE(text(*log, "LogName"), "r6");
        log->prior();
        QVERIFY(!log->eof());
        QCOMPARE(text(*log, "LogName"), order.at(4));

        log->first();
        QCOMPARE(text(*log, "LogName"), "r2");
        log->prior();
        QVERIFY(log->bof());
        QCOMPARE(text(*log, "LogName"), "r2"); // stays on the first row
        log->next();
        QVERIFY(!log->bof());
        QVERIFY(!log->eof());
        QCOMPARE(text(*log, "LogName"), order.at(1));
    }

    void newOrderKeepsTheRow()
    {
        fillLog();
        QVERIFY(goTo(*log, "r5"));
        log->setIndexName("ByCall");
        QCOMPARE(text(*log, "LogName"), "r5");
        log->next();
        QCOMPARE(text(*log, "LogName"), "r4");
        log->setIndexName("ByDatTim");
        QCOMPARE(text(*log, "LogName"), "r4");
        log->next();
        QCOMPARE(text(*log, "LogName"), "r3");
    }

    void newOrderCancelsTheRange()
    {
        fillLog();
        log->setIndexName("ByCall");
        log->setRange("DL1AA", "DL1AA");
        QCOMPARE(log->recordCount(), 2);
        log->setIndexName("ByDatTim");
        QVERIFY(!log->hasRange());
        QCOMPARE(log->recordCount(), int(contacts.size()));
        QCOMPARE(walkForward(*log, "LogName"), tags("r4 r3 r2 r5 r1 r6"));
    }

    void ranges_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("equal ends, first of three key fields")
            << "ByCall" << "UA9XX" << "UA9XX" << tags("r3 r1");
        QTest::newRow("two calls") << "ByCall" << "DL1AA" << "K1ABC" << tags("r2 r5 r4");
        QTest::newRow("case-sensitive end") << "ByCall" << "DL1AA" << "UA9XX" << tags("r2 r5 r4 r3 r1");
        QTest::newRow("begins with") << "ByCall" << "DL" << "DLZ" << tags("r2 r5");
        QTest::newRow("nothing between") << "ByCall" << "A" << "C" << QStringList();
        QTest::newRow("ends reversed") << "ByCall" << "K1ABC" << "DL1AA" << QStringList();
        QTest::newRow("equal ends, one key field") << "ByBand" << "14" << "14" << tags("r1 r3 r5");
        QTest::newRow("filter mark") << "By1" << "1" << "1" << tags("r1 r3");
        QTest::newRow("award kind letter") << "ByOther" << "w" << "wz" << tags("r5 r1");
        QTest::newRow("dates") << "ByDatTim" << "01.01.2024" << "02.01.2024" << tags("r4 r3 r2 r5");
        QTest::newRow("one date") << "ByDatTim" << "02.01.2024" << "02.01.2024" << tags("r5");
    }
    void ranges()
    {
        QFETCH(QString, order);
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QStringList, expected);
        fillLog();
        log->setIndexName(order);
        log->last();
        log->setRange(low, high);
        QVERIFY(log->hasRange());
        QCOMPARE(log->recordCount(), expected.size());
        QCOMPARE(log->isEmpty(), expected.isEmpty());
        if (expected.isEmpty()) {
            QVERIFY(log->eof() && log->bof());
            log->first();
            QVERIFY(log->eof() && log->bof());
            QCOMPARE(text(*log, "LogCall"), QString());
        } else {
            QCOMPARE(text(*log, "LogName"), expected.first()); // moved to the first row
        }
        QCOMPARE(walkForward(*log, "LogName"), expected);
        QCOMPARE(walkBackward(*log, "LogName"), expected);
        // A walk meets the same rows, each once, and leaves the cursor.
        log->last();
        const QString standing = text(*log, "LogName");
        QStringList walked, anyOrder;
        log->walkRows({"LogName", "LogBand"}, [&](qint64, const QStringList &t) { walked << t.at(0); });
        log->walkRows({"LogName"}, [&](qint64, const QStringList &t) { anyOrder << t.at(0); },
                      Db::Table::Order::Any);
        QCOMPARE(walked, expected);
        anyOrder.sort();
        QStringList sorted = expected;
        sorted.sort();
        QCOMPARE(anyOrder, sorted);
        QCOMPARE(text(*log, "LogName"), standing);

        log->cancelRange();
        QVERIFY(!log->hasRange());
        QCOMPARE(log->recordCount(), int(contacts.size()));
        QCOMPARE(walkForward(*log, "LogName").size(), contacts.size());
    }

    // The rows a walk hands on may be written, and other walks run, the
    // same one included, before the next row; a walk stopped by an
    // exception leaves the file to the next walk.
    void walkVisitorWritesAndStops()
    {
        fillLog();
        log->setIndexName("ByDatTim");
        {
            Db::TableTransaction transaction(*log);
            QStringList order;
            log->walkRows({"LogName"}, [&](qint64 rowId, const QStringList &t) {
                order << t.at(0);
                QCOMPARE(log->fieldTexts("LogName").size(), contacts.size());
                log->writeTexts("Log1", {{rowId, "7"}});
            });
            transaction.commit();
            QCOMPARE(order, tags("r4 r3 r2 r5 r1 r6"));
        }
        QCOMPARE(log->fieldTexts("Log1"), QStringList(contacts.size(), "7"));
        int met = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, log->walkRows({"LogCall"}, [&](qint64, const QStringList &) {
            if (++met == 2)
                throw std::runtime_error("stop");
        }));
        QCOMPARE(met, 2);
        Db::TableTransaction again(*log);
        log->writeTexts("Log1", {{log->currentRowId(), "1"}});
        again.commit();
        QCOMPARE(log->fieldTexts("LogName").size(), contacts.size());
    }

    void locate_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected"); // "" = a miss
        QTest::newRow("call, entry order") << "" << "LogCall" << "UA9XX" << "r1";
        QTest::newRow("call, first by date") << "ByDatTim" << "LogCall" << "UA9XX" << "r3";
        QTest::newRow("call, first by call index") << "ByCall" << "LogCall" << "UA9XX" << "r3";
        QTest::newRow("lower-case call") << "" << "LogCall" << "ua9xx" << "r6";
        QTest::newRow("country") << "" << "LogObl" << "Germany" << "r2";
        QTest::newRow("country, first by date") << "ByDatTim" << "LogObl" << "Asiatic Russia" << "r3";
        QTest::newRow("date, entry order") << "" << "LogDate" << "01.01.2024" << "r2";
        QTest::newRow("date, first by date") << "ByDatTim" << "LogDate" << "01.01.2024" << "r4";
        QTest::newRow("empty text") << "" << "LogOther" << "" << "r3";
        QTest::newRow("miss: other case") << "" << "LogCall" << "Dl1aa" << "";
        QTest::newRow("miss: only the beginning") << "" << "LogCall" << "UA9" << "";
        QTest::newRow("miss: trailing blank") << "" << "LogCall" << "UA9XX " << "";
        QTest::newRow("miss: sorted call") << "ByCall" << "LogCall" << "K1AB" << "";
        QTest::newRow("miss: date") << "ByDatTim" << "LogDate" << "31.12.2023" << "";
    }
    void locate()
    {
        QFETCH(QString, order);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        fillLog();
        log->setIndexName(order);
        QVERIFY(goTo(*log, "r5"));
        const qint64 before = log->currentRowId();

        QCOMPARE(log->locate(field, value), !expected.isEmpty());
        QVERIFY(!log->eof());
        if (expected.isEmpty()) {
            QCOMPARE(log->currentRowId(), before);
            QCOMPARE(text(*log, "LogName"), "r5");
            QCOMPARE(text(*log, "LogCall"), "DL1AA");
            QCOMPARE(text(*log, "LogTime"), "23:59:59");
        } else {
            QCOMPARE(text(*log, "LogName"), expected);
            QCOMPARE(text(*log, field), value);
        }
    }

    void locateLast_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected"); // "" = a miss
        QTest::newRow("call, entry order") << "" << "LogCall" << "UA9XX" << "r3";
        QTest::newRow("call, last by date") << "ByDatTim" << "LogCall" << "UA9XX" << "r1";
        QTest::newRow("call, last by call index") << "ByCall" << "LogCall" << "UA9XX" << "r1";
        QTest::newRow("country, last by date") << "ByDatTim" << "LogObl" << "Asiatic Russia" << "r6";
        QTest::newRow("one row") << "ByCall" << "LogCall" << "K1ABC" << "r4";
        QTest::newRow("miss: only the beginning") << "ByCall" << "LogCall" << "UA9" << "";
    }
    void locateLast()
    {
        QFETCH(QString, order);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        fillLog();
        log->setIndexName(order);
        QVERIFY(goTo(*log, "r5"));
        QCOMPARE(log->locateLast(field, value), !expected.isEmpty());
        QCOMPARE(text(*log, "LogName"), expected.isEmpty() ? QStringLiteral("r5") : expected);
    }

    void locateStaysInTheRange()
    {
        fillLog();
        log->setIndexName("ByCall");
        log->setRange("DL1AA", "K1ABC");
        log->last();
        QCOMPARE(text(*log, "LogName"), "r4");
        QVERIFY(!log->locate("LogCall", "UA9XX")); // exists, but outside the range
        QCOMPARE(text(*log, "LogName"), "r4");
        QVERIFY(log->locate("LogObl", "Germany"));
        QCOMPARE(text(*log, "LogName"), "r2");
        QVERIFY(log->locate("LogName", "r4"));
        QCOMPARE(text(*log, "LogName"), "r4");
        QCOMPARE(log->recordCount(), 3);
    }

    void unknownField()
    {
        fillLog();
        QVERIFY(!log->findField("LogNothing"));
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->fieldByName("LogNothing"));
        QVERIFY(log->findField("LogQth"));
        QCOMPARE(log->findField("LogQth")->name(), "LogQth");
    }

    void indexChosenWhileClosed()
    {
        fillLog();
        log->close();
        log->setIndexName("ByDatTim");
        log->open();
        log->first();
        QCOMPARE(text(*log, "LogName"), "r4");
    }

    void closedTableRefuses_data()
    {
        QTest::addColumn<bool>("everOpened");
        QTest::addColumn<QString>("operation");
        for (bool opened : {false, true})
            for (const char *operation : {"first", "last", "next", "prior", "recordCount", "read field",
                                          "write field", "append", "edit", "post", "delete", "locate",
                                          "range", "refresh"})
                QTest::addRow("%s, %s", opened ? "closed" : "never opened", operation) << opened << operation;
    }
    void closedTableRefuses()
    {
        QFETCH(bool, everOpened);
        QFETCH(QString, operation);
        fillLog();
        log->setIndexName("ByCall");
        Db::Table table(&temp->db, "Tarnel");
        if (everOpened) {
            table.open();
            table.first();
            table.close();
        }
        QVERIFY(!table.isActive());
        const std::map<QString, std::function<void()>> operations = {
            {"first", [&] { table.first(); }},
            {"last", [&] { table.last(); }},
            {"next", [&] { table.next(); }},
            {"prior", [&] { table.prior(); }},
            {"recordCount", [&] { table.recordCount(); }},
            {"read field", [&] { table.fieldByName("LogCall").asString(); }},
            {"write field", [&] { table.fieldByName("LogCall").setAsString("X"); }},
            {"append", [&] { table.append(); }},
            {"edit", [&] { table.edit(); }},
            {"post", [&] { table.post(); }},
            {"delete", [&] { table.deleteRecord(); }},
            {"locate", [&] { table.locate("LogCall", "UA9XX"); }},
            {"range", [&] { table.setRange("A", "Z"); }},
            {"refresh", [&] { table.refresh(); }},
        };
        QVERIFY_THROWS_EXCEPTION(Db::TableError, operations.at(operation)());
        QVERIFY(!table.isActive());
        // The other cursor and the file are untouched.
        QCOMPARE(log->recordCount(), int(contacts.size()));
        QCOMPARE(walkForward(*log, "LogName"), tags("r2 r5 r4 r3 r1 r6"));
    }

    // Counts and positions are worked out from whichever side of a range or of
    // the current row is shorter; a walk must agree with them on every row.
    void countsAndPositionsAgreeWithAWalk_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::newRow("whole log by date") << "ByDatTim" << "" << "";
        QTest::newRow("ties by band") << "ByBand" << "" << "";
        QTest::newRow("most of the log") << "ByCall" << "DL" << "UZZZ";
        QTest::newRow("all but the lowest") << "ByCall" << "E" << "zzzz";
        QTest::newRow("a small range") << "ByCall" << "UA9XX" << "UA9XX";
        QTest::newRow("empty range") << "ByCall" << "X" << "Y";
    }
    void countsAndPositionsAgreeWithAWalk()
    {
        QFETCH(QString, index);
        QFETCH(QString, low);
        QFETCH(QString, high);
        fillLog();
        for (int i = 0; i < 30; ++i)
            addRow(*log, {{"LogName", QStringLiteral("x%1").arg(i)}, {"LogCall", i % 2 ? "K1ABC" : "UA9XX"},
                          {"LogBand", i % 3 ? "14" : "7"}, {"LogDate", "04.01.2024"}});
        log->setIndexName(index);
        if (!low.isEmpty())
            log->setRange(low, high);
        int walked = 0;
        for (log->first(); !log->eof(); log->next()) {
            QCOMPARE(log->recNo(), walked);
            ++walked;
        }
        QCOMPARE(log->recordCount(), walked);
    }
};

QTEST_GUILESS_MAIN(TestTableNavigation)
#include "TestTableNavigation.moc"
