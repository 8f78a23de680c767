#include "awards/AwardMarks.h"
#include "core/TableSchemas.h"
#include "platform/table/Database.h"
#include "platform/table/TableError.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// An award directory with a few installed rows.
class Awards {
public:
    Awards()
    {
        db.setDirectory(dir.path());
        for (const Db::TableSchema &s : {TableSchemas::dxcc(), TableSchemas::ur(), TableSchemas::waz()})
            db.createTable(s);
        add("Dxcc", {{"Prefix", "UA9"}});
        add("Dxcc", {{"Prefix", "DL"}});
        add("UR", {{"Prefix", "UA9"}, {"QslSend", "Asiatic Russia 17/30"}});
        add("UR", {{"Prefix", "UA0"}, {"QslSend", "Asiatic Russia 18/32"}});
        for (int zone = 1; zone <= 40; ++zone)
            add("Waz", {{"Zone", QString::number(zone)}});
    }

    void add(const QString &table, const QList<std::pair<QString, QString>> &values)
    {
        Db::Table t(&db, table);
        t.open();
        t.append();
        for (const auto &[f, v] : values)
            t.fieldByName(f).setAsString(v);
        t.post();
    }

    // The value of `field` in the row whose key is `key`; "<no row>" when none.
    QString cell(const QString &table, const QString &key, const QString &field)
    {
        Db::Table t(&db, table);
        t.open();
        if (!t.locate(table == QLatin1String("Waz") ? "Zone" : "Prefix", key))
            return QStringLiteral("<no row>");
        return t.fieldByName(field).asString();
    }

    int rows(const QString &table)
    {
        Db::Table t(&db, table);
        t.open();
        return t.recordCount();
    }

    QTemporaryDir dir;
    Db::Database db;
};

PrefixRow row(const QString &prefix, const QString &dxcc, const QString &cq)
{
    PrefixRow r;
    r.prefix = prefix;
    r.dxccPrefix = dxcc;
    r.cqZone = cq;
    return r;
}

} // namespace

class TestAwardMarks : public QObject {
    Q_OBJECT
private slots:
    void workedThenConfirmedThenWorkedAgain()
    {
        Awards a;
        AwardMarks marks(&a.db);
        const PrefixRow dl = row("DL", "DL", "14");
        marks.mark(dl, "14", "SSB", false);
        QCOMPARE(a.cell("Dxcc", "DL", "B14"), QStringLiteral("wkd"));
        QCOMPARE(a.cell("Dxcc", "DL", "B14Ssb"), QStringLiteral("wkd"));
        QCOMPARE(a.cell("Waz", "14", "B14SSB"), QStringLiteral("wkd"));
        marks.mark(dl, "14", "SSB", true);
        QCOMPARE(a.cell("Dxcc", "DL", "B14"), QStringLiteral("cfm"));
        QCOMPARE(a.cell("Dxcc", "DL", "B14Ssb"), QStringLiteral("cfm"));
        marks.mark(dl, "14", "SSB", false);
        QCOMPARE(a.cell("Dxcc", "DL", "B14"), QStringLiteral("cfm"));
        QCOMPARE(a.cell("Dxcc", "DL", "B14Ssb"), QStringLiteral("cfm"));
        QCOMPARE(a.cell("Waz", "14", "B14"), QStringLiteral("cfm"));
        // No other cell moved.
        QCOMPARE(a.cell("Dxcc", "DL", "B14Cw"), QString());
        QCOMPARE(a.cell("Dxcc", "DL", "B7"), QString());
    }

    void confirmedFmMarksBandAndOther()
    {
        Awards a;
        AwardMarks marks(&a.db);
        marks.mark(row("DL", "DL", "14"), "7", "FM", true);
        QCOMPARE(a.cell("Dxcc", "DL", "B7"), QStringLiteral("cfm"));
        QCOMPARE(a.cell("Dxcc", "DL", "B7Other"), QStringLiteral("cfm"));
        for (const char *other : {"B7Cw", "B7Ssb", "B7Rtty"})
            QCOMPARE(a.cell("Dxcc", "DL", other), QString());
    }

    void regionalPrefixMarksItsOwnRegionAndTheEntity()
    {
        Awards a;
        AwardMarks marks(&a.db);
        const AwardMarks::Qsl qsl{"", "Yes"};
        marks.mark(row("UA0", "UA9", "18"), "21", "CW", false, &qsl);
        QCOMPARE(a.cell("UR", "UA0", "B21Cw"), QStringLiteral("wkd"));
        QCOMPARE(a.cell("UR", "UA9", "B21Cw"), QString());
        QCOMPARE(a.cell("Dxcc", "UA9", "B21Cw"), QStringLiteral("wkd"));
        // The sent QSL goes to Dxcc only; the region keeps its name.
        QCOMPARE(a.cell("Dxcc", "UA9", "QslSend"), QStringLiteral("Yes"));
        QCOMPARE(a.cell("UR", "UA0", "QslSend"), QStringLiteral("Asiatic Russia 18/32"));
        QCOMPARE(a.cell("Waz", "18", "B21"), QStringLiteral("wkd"));
    }

    void onlyTheThreeRegionalPrefixesTouchUR_data()
    {
        QTest::addColumn<QString>("dxcc");
        QTest::addColumn<bool>("regional");
        QTest::newRow("UR") << "UR" << true;
        QTest::newRow("UA1") << "UA1" << true;
        QTest::newRow("UA9") << "UA9" << true;
        QTest::newRow("UA2") << "UA2" << false;
        QTest::newRow("ur") << "ur" << false;
        QTest::newRow("DL") << "DL" << false;
    }
    void onlyTheThreeRegionalPrefixesTouchUR()
    {
        QFETCH(QString, dxcc);
        QFETCH(bool, regional);
        Awards a;
        AwardMarks marks(&a.db);
        const int before = a.rows("UR");
        marks.mark(row("XX1", dxcc, "15"), "14", "CW", false);
        QCOMPARE(a.rows("UR"), before + (regional ? 1 : 0));
        QCOMPARE(a.cell("UR", "XX1", "B14"), regional ? QStringLiteral("wkd") : QStringLiteral("<no row>"));
        QCOMPARE(a.cell("Dxcc", dxcc, "B14"), QStringLiteral("wkd"));
    }

    void qslCopyWidths()
    {
        Awards a;
        AwardMarks marks(&a.db);
        const AwardMarks::Qsl qsl{"15.03.2024 via bureau", "eQSL and more"};
        marks.mark(row("UA9", "UA9", "17"), "14", "CW", true, &qsl);
        QCOMPARE(a.cell("Dxcc", "UA9", "QslRcvd"), QStringLiteral("15.03.2024"));
        QCOMPARE(a.cell("Dxcc", "UA9", "QslSend"), QStringLiteral("eQSL and m"));
        QCOMPARE(a.cell("UR", "UA9", "QslRcvd"), QStringLiteral("15.03.2024"));
        QCOMPARE(a.cell("UR", "UA9", "QslSend"), QStringLiteral("Asiatic Russia 17/30"));
        // Empty texts copy nothing.
        const AwardMarks::Qsl empty{"", ""};
        marks.mark(row("UA9", "UA9", "17"), "14", "CW", false, &empty);
        QCOMPARE(a.cell("Dxcc", "UA9", "QslSend"), QStringLiteral("eQSL and m"));
    }

    void bandWithoutCellsStillAddsTheRow()
    {
        Awards a;
        AwardMarks marks(&a.db);
        marks.mark(row("JA", "JA", "25"), "144", "SSB", true);
        QCOMPARE(a.rows("Dxcc"), 3);
        const QStringList cells = TableSchemas::awardCells(false);
        for (const QString &c : cells)
            QCOMPARE(a.cell("Dxcc", "JA", c), QString());
    }

    void nothingToMarkCreatesAndChangesNoRow_data()
    {
        QTest::addColumn<bool>("resolved");
        QTest::addColumn<QString>("dxcc");
        QTest::addColumn<QString>("cq");
        QTest::addColumn<int>("wazMarks");
        QTest::newRow("unresolved") << false << "DL" << "14" << 0;
        QTest::newRow("empty DXCC prefix") << true << "" << "14" << 0;
        QTest::newRow("empty zone") << true << "DL" << "" << 0;
        QTest::newRow("unknown zone") << true << "DL" << "41" << 0;
        QTest::newRow("zone not a number") << true << "DL" << "1x" << 0;
    }
    void nothingToMarkCreatesAndChangesNoRow()
    {
        QFETCH(bool, resolved);
        QFETCH(QString, dxcc);
        QFETCH(QString, cq);
        Awards a;
        AwardMarks marks(&a.db);
        // A previous contact leaves the Waz cursor on zone 5: it must not be marked again.
        marks.mark(row("DL", "DL", "5"), "7", "CW", false);
        const std::optional<PrefixRow> r = resolved ? std::optional(row("DL", dxcc, cq)) : std::nullopt;
        marks.mark(r, "14", "SSB", true);
        QCOMPARE(a.rows("Dxcc"), 2);
        QCOMPARE(a.rows("UR"), 2);
        QCOMPARE(a.rows("Waz"), 40);
        QCOMPARE(a.cell("Waz", "5", "B14"), QString());
        for (int zone = 1; zone <= 40; ++zone)
            QCOMPARE(a.cell("Waz", QString::number(zone), "B14SSB"), QString());
        QCOMPARE(a.cell("Dxcc", "DL", "B14"), resolved && !dxcc.isEmpty() ? QStringLiteral("cfm") : QString());
    }

    void clearingKeepsRowsKeysAndRegionNames()
    {
        Awards a;
        AwardMarks marks(&a.db);
        const AwardMarks::Qsl qsl{"Yes", "Yes"};
        marks.mark(row("UA9", "UA9", "17"), "14", "CW", true, &qsl);
        marks.mark(row("DL", "DL", "14"), "Satellite", "SSB", false, &qsl);
        marks.clearAll();
        QCOMPARE(a.rows("Dxcc"), 2);
        QCOMPARE(a.rows("UR"), 2);
        QCOMPARE(a.rows("Waz"), 40);
        for (const char *f : {"B14", "B14Cw", "QslRcvd", "QslSend", "Moon"})
            QCOMPARE(a.cell("Dxcc", "UA9", f), QString());
        QCOMPARE(a.cell("Dxcc", "DL", "SatSsb"), QString());
        QCOMPARE(a.cell("UR", "UA9", "B14"), QString());
        QCOMPARE(a.cell("UR", "UA9", "QslRcvd"), QString());
        QCOMPARE(a.cell("UR", "UA9", "QslSend"), QStringLiteral("Asiatic Russia 17/30"));
        QCOMPARE(a.cell("Waz", "17", "B14CW"), QString());
    }

    // A failing post leaves no cursor in edit and no half-written row.
    void failureLeavesTheTablesUsable()
    {
        Awards a;
        AwardMarks marks(&a.db);
        QVERIFY(QFile::remove(a.dir.filePath("Waz.db")));
        const PrefixRow dl = row("DL", "DL", "14");
        QVERIFY_THROWS_EXCEPTION(Db::TableError, marks.mark(dl, "14", "CW", false));
        QCOMPARE(a.cell("Dxcc", "DL", "B14"), QStringLiteral("wkd"));
        marks.mark(row("DL", "DL", ""), "7", "CW", false);
        QCOMPARE(a.cell("Dxcc", "DL", "B7"), QStringLiteral("wkd"));
    }
};

QTEST_GUILESS_MAIN(TestAwardMarks)
#include "TestAwardMarks.moc"
