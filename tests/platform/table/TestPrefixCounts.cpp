// Counts of the callsigns that begin with a typed text, kept in memory by the
// engine: after every kind of change to the log they equal a plain count of
// the same range by SQLite.

#include "TableFixture.h"

#include <QtTest>
#include <functional>
#include <memory>

using namespace TableFixture;

namespace {

// Texts typed so far, as the callsign entry ranges them.
const QStringList typed = {"", "U", "UA", "UA9", "UA9X", "UA9XX", "UA9XX/", "UAZ", "K", "ua", "Z", "\u0416"};
const QString rangeEnd = QStringLiteral("ZZZZZZZZZZZ");

const QStringList seedCalls = {"UA9XX", "UA9XX", "UA9XX/P", "UA9", "U", "UA", "ua9xx", "UA[", "UA9XA",
                               "UAZZZZZZZZZZZZZZZZZZ", "UAZZZZZZZZZZZ", "UAZZZZZZZZZZZA", "", "K1ABC",
                               "\u0416\u0416", "ZZZ", "DL1AA", "UA9XY"};

QString sqlText(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

} // namespace

class TestPrefixCounts;
using Change = std::function<void(TestPrefixCounts *)>;
Q_DECLARE_METATYPE(Change)

class TestPrefixCounts : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDatabase> temp;
    std::unique_ptr<Db::Table> log;     // the cursor that changes the log
    std::unique_ptr<Db::Table> counter; // the one that counts, as the callsign entry's does

    // Each typed text: the engine's count, and SQLite's plain count.
    QStringList counts(bool plain)
    {
        QStringList result;
        for (const QString &text : typed) {
            if (plain) {
                const QString high = (text + rangeEnd).left(20); // cut to the field as the range is
                result << sqliteRows(temp->path("Tarnel.db"),
                                     QStringLiteral("SELECT count(*) FROM Tarnel WHERE LogCall >= %1 AND LogCall <= %2")
                                         .arg(sqlText(text), sqlText(high)))
                              .value(0);
            } else {
                counter->setRange(text, text + rangeEnd);
                result << QString::number(counter->recordCount());
            }
        }
        return result;
    }

    void setCall(qint64 rowId, const QString &call)
    {
        QVERIFY(log->moveToRowId(rowId));
        log->edit();
        log->fieldByName("LogCall").setAsString(call);
        log->post();
    }

private slots:
    void init()
    {
        temp = std::make_unique<TempDatabase>();
        temp->db.createTable(logSchema());
        log = std::make_unique<Db::Table>(&temp->db, "Tarnel");
        log->open();
        for (const QString &call : seedCalls)
            addRow(*log, {{"LogCall", call}, {"LogName", "seed"}});
        counter = std::make_unique<Db::Table>(&temp->db, "Tarnel");
        counter->keepPrefixCounts("LogCall");
        counter->setIndexName("ByCall");
        counter->open();
        counter->setIndexName("ByCall");
    }
    void cleanup()
    {
        counter.reset();
        log.reset();
        temp.reset();
    }

    void countsFollowEveryChange_data()
    {
        // Whether the change leaves the counts built: every change this
        // program commits, walks included.
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("built");
        QTest::newRow("nothing") << Change([](TestPrefixCounts *) {}) << true;
        QTest::newRow("append") << Change([](TestPrefixCounts *t) {
            addRow(*t->log, {{"LogCall", "UA9XB"}});
            addRow(*t->log, {{"LogCall", "UAZZZZZZZZZZZ"}});
        }) << true;
        QTest::newRow("edit the callsign") << Change([](TestPrefixCounts *t) {
            t->log->setIndexName("ByCall");
            QVERIFY(t->log->locate("LogCall", "UA9XX"));
            t->setCall(t->log->currentRowId(), "K2ZZ");
        }) << true;
        QTest::newRow("edit another field") << Change([](TestPrefixCounts *t) {
            QVERIFY(t->log->locate("LogCall", "UA9"));
            t->log->edit();
            t->log->fieldByName("LogName").setAsString("edited");
            t->log->post();
        }) << true;
        QTest::newRow("delete") << Change([](TestPrefixCounts *t) {
            QVERIFY(t->log->locate("LogCall", "UA9XX/P"));
            t->log->deleteRecord();
            QVERIFY(t->log->locate("LogCall", ""));
            t->log->deleteRecord();
        }) << true;
        QTest::newRow("delete through the counting cursor") << Change([](TestPrefixCounts *t) {
            t->counter->setRange("UA9", "UA9" + rangeEnd);
            t->counter->last();
            t->counter->deleteRecord();
        }) << true;
        QTest::newRow("walk committed") << Change([](TestPrefixCounts *t) {
            Db::TableTransaction walk(*t->log);
            for (int i = 0; i < 50; ++i)
                addRow(*t->log, {{"LogCall", QStringLiteral("UA9X%1").arg(i)}});
            QVERIFY(t->log->locate("LogCall", "U"));
            t->log->deleteRecord();
            QVERIFY(t->log->locate("LogCall", "UA9XA"));
            t->setCall(t->log->currentRowId(), "K3AA");
            walk.commit();
        }) << true;
        QTest::newRow("walk with its indexes built at the end") << Change([](TestPrefixCounts *t) {
            Db::TableTransaction walk(*t->log);
            walk.deferIndexes({});
            for (int i = 0; i < 20; ++i)
                addRow(*t->log, {{"LogCall", QStringLiteral("UA%1").arg(i)}});
            walk.commit();
        }) << true;
        QTest::newRow("walk rolled back") << Change([](TestPrefixCounts *t) {
            t->counts(false); // counted inside the walk, then undone
            Db::TableTransaction walk(*t->log);
            addRow(*t->log, {{"LogCall", "UA9XZ"}});
            QVERIFY(t->log->locate("LogCall", "UA"));
            t->log->deleteRecord();
            t->counts(false);
            walk.rollback();
        }) << false;
        QTest::newRow("fields written in one walk") << Change([](TestPrefixCounts *t) {
            std::vector<std::pair<qint64, QString>> rows;
            for (t->log->first(); !t->log->eof(); t->log->next())
                rows.emplace_back(t->log->currentRowId(), "UA" + text(*t->log, "LogCall"));
            t->log->writeTexts("LogCall", rows);
        }) << true;
        QTest::newRow("another field written in one walk") << Change([](TestPrefixCounts *t) {
            std::vector<std::pair<qint64, QString>> rows;
            for (t->log->first(); !t->log->eof(); t->log->next())
                rows.emplace_back(t->log->currentRowId(), "UA9XX");
            t->log->writeTexts("LogObl", rows);
        }) << true;
        QTest::newRow("rows copied from another log") << Change([](TestPrefixCounts *t) {
            TempDatabase other;
            other.db.createTable(logSchema());
            Db::Table source(&other.db, "Tarnel");
            source.open();
            for (const char *call : {"UA9XX", "UA1AA", "UA9XXX", "K"})
                addRow(source, {{"LogCall", call}});
            QCOMPARE(t->log->appendCopies(source, {"LogCall", "LogName"}), 4);
        }) << true;
        QTest::newRow("another program adds and deletes") << Change([](TestPrefixCounts *t) {
            sqliteRows(t->temp->path("Tarnel.db"),
                       "INSERT INTO Tarnel (LogCall, LogName) VALUES ('UA9XC', 'x'), ('UA', 'y')");
            sqliteRows(t->temp->path("Tarnel.db"), "DELETE FROM Tarnel WHERE LogCall = 'UA9XX'");
        }) << false;
        QTest::newRow("another program empties the log") << Change([](TestPrefixCounts *t) {
            sqliteRows(t->temp->path("Tarnel.db"), "DELETE FROM Tarnel");
        }) << false;
        QTest::newRow("closed and opened again") << Change([](TestPrefixCounts *t) {
            t->counter->close();
            addRow(*t->log, {{"LogCall", "UA9XD"}});
            t->log->close();
            t->log->open();
            t->counter->open();
            t->counter->setIndexName("ByCall");
        }) << false;
    }
    void countsFollowEveryChange()
    {
        QFETCH(Change, change);
        QFETCH(bool, built);
        counter->buildPrefixCounts();
        QCOMPARE(counts(false), counts(true)); // counted once before the change
        change(this);
        QCOMPARE(counter->prefixCountsBuilt(), built);
        QCOMPARE(counts(false), counts(true));
        // Built again where the change left them to be built (else followed),
        // and once more after a second save, counted from the kept counts.
        counter->buildPrefixCounts();
        QCOMPARE(counts(false), counts(true));
        addRow(*log, {{"LogCall", "UA9XX"}});
        QCOMPARE(counts(false), counts(true));
    }
};

QTEST_GUILESS_MAIN(TestPrefixCounts)
#include "TestPrefixCounts.moc"
