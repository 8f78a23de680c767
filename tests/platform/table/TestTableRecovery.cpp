// What a cursor is left with after something went wrong: a rolled-back walk,
// a row deleted under an edit, a bad range, a master inserting, sources
// outliving their table; and grid rows read from either end.

#include "TableFixture.h"

#include "platform/table/DataSource.h"
#include "platform/table/TableError.h"

#include <QtTest>
#include <memory>

using namespace TableFixture;

class TestTableRecovery : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;
    std::unique_ptr<Db::Table> log;

private slots:
    void init()
    {
        temp = std::make_unique<TempDatabase>();
        temp->db.createTable(logSchema());
        log = std::make_unique<Db::Table>(&temp->db, "Tarnel");
        log->open();
        for (const char *call : {"C1", "C2", "C3", "C4"})
            addRow(*log, {{"LogCall", call}, {"LogName", "old"}});
    }
    void cleanup()
    {
        log.reset();
        temp.reset();
    }

    // A walk that fails half-way is undone whole; the row it was editing is
    // not posted later by the next move.
    void failedWalkLeavesNoRowBehind()
    {
        try {
            Db::TableTransaction walk(*log);
            for (log->first(); !log->eof(); log->next()) {
                log->edit();
                log->fieldByName("LogName").setAsString("new");
                if (text(*log, "LogCall") == QLatin1String("C3"))
                    log->fieldByName("LogDate").setAsString("31.02.2024"); // not a date
                log->post();
            }
            walk.commit();
            QFAIL("the walk should have failed");
        } catch (const Db::TableError &) {
        }
        QCOMPARE(log->state(), Db::Table::State::Browse);
        log->first();
        Db::Table other(&temp->db, "Tarnel");
        other.open();
        QCOMPARE(walkForward(other, "LogName"), QStringList(4, "old"));
    }

    void editOfADeletedRowIsRefused()
    {
        log->first();
        log->edit();
        log->fieldByName("LogName").setAsString("typed");
        Db::Table other(&temp->db, "Tarnel");
        other.open();
        other.first();
        other.deleteRecord();
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->post());
        QCOMPARE(log->state(), Db::Table::State::Edit);
        QCOMPARE(text(*log, "LogName"), QStringLiteral("typed"));
        log->cancel();
        QCOMPARE(log->recordCount(), 3);
    }

    void updatesKeepTheCountRight()
    {
        QCOMPARE(log->recordCount(), 4);
        log->first();
        log->edit();
        log->fieldByName("LogName").setAsString("x");
        log->post();
        QCOMPARE(log->recordCount(), 4);
        addRow(*log, {{"LogCall", "C5"}});
        QCOMPARE(log->recordCount(), 5);
    }

    void badRangeEndKeepsTheRange()
    {
        log->setIndexName("ByDatTim");
        log->setRange("", "");
        const int before = log->recordCount();
        QVERIFY_THROWS_EXCEPTION(Db::TableError, log->setRange("06.06.2021", "bad"));
        QCOMPARE(log->recordCount(), before);
        int walked = 0;
        for (log->first(); !log->eof(); log->next())
            ++walked;
        QCOMPARE(walked, before);
    }

    void detailFollowsAMasterThatInserts()
    {
        temp->db.createTable(allprefSchema());
        temp->db.createTable(prefixSchema());
        Db::Table master(&temp->db, "Allpref");
        Db::Table detail(&temp->db, "Prefix");
        master.open();
        detail.open();
        addRow(master, {{"AddPrefix", "UR"}, {"MainPrefix", "UR"}});
        addRow(detail, {{"Prefix", "UR"}, {"Country", "Ukraine"}});
        detail.setMasterLink(&master, "MainPrefix", "Prefix");
        QCOMPARE(detail.recordCount(), 1);
        master.append(); // a new, empty master row has no details
        QCOMPARE(detail.recordCount(), 0);
        QVERIFY(detail.isEmpty());
        master.cancel();
        QCOMPARE(detail.recordCount(), 1);
    }

    void sourcesLetGoOfADestroyedTable()
    {
        Db::DataSource a, b, c;
        {
            Db::Table t(&temp->db, "Tarnel");
            for (Db::DataSource *s : {&a, &b, &c})
                s->setDataSet(&t);
        }
        for (Db::DataSource *s : {&a, &b, &c})
            QCOMPARE(s->dataSet(), nullptr);
    }

    // Grid rows from the second half are read backwards from the end; they
    // must come out in the same order as a walk.
    void gridRowsFromEitherEnd_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("count");
        QTest::newRow("start") << 0 << 5;
        QTest::newRow("middle") << 10 << 7;
        QTest::newRow("end, partial block") << 30 << 64;
        QTest::newRow("past the end") << 40 << 5;
    }
    void gridRowsFromEitherEnd()
    {
        QFETCH(int, offset);
        QFETCH(int, count);
        for (int i = 0; i < 30; ++i)
            addRow(*log, {{"LogCall", QStringLiteral("K%1").arg(i, 2, 10, QChar(u'0'))}});
        log->setIndexName("ByCall");
        const QStringList walked = walkForward(*log, "LogCall");
        const std::vector<Db::RowTexts> rows = log->readRows(offset, count);
        const int call = log->schema().fieldIndex("LogCall");
        QStringList read;
        for (const Db::RowTexts &r : rows)
            read << r.texts[call];
        QCOMPARE(read, walked.mid(offset, count));
    }
};

QTEST_GUILESS_MAIN(TestTableRecovery)
#include "TestTableRecovery.moc"
