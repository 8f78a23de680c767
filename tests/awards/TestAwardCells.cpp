#include "awards/AwardCells.h"
#include "core/TableSchemas.h"

#include <QtTest>

using namespace AwardCells;

class TestAwardCells : public QObject {
    Q_OBJECT
private slots:
    void upgrade_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty, worked") << "" << false << "wkd";
        QTest::newRow("empty, confirmed") << "" << true << "cfm";
        QTest::newRow("wkd, worked") << "wkd" << false << "wkd";
        QTest::newRow("wkd, confirmed") << "wkd" << true << "cfm";
        QTest::newRow("cfm, worked") << "cfm" << false << "cfm";
        QTest::newRow("cfm, confirmed") << "cfm" << true << "cfm";
        // Only the exact text counts as confirmed.
        QTest::newRow("CFM, worked") << "CFM" << false << "wkd";
        QTest::newRow("WKD, worked") << "WKD" << false << "wkd";
    }
    void upgrade()
    {
        QFETCH(QString, mark);
        QFETCH(bool, confirmed);
        QFETCH(QString, expected);
        QCOMPARE(AwardCells::upgrade(mark, confirmed), expected);
    }

    void cells_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("bandCell");
        QTest::addColumn<QString>("modeCell");
        const int dxcc = int(Table::Dxcc), ur = int(Table::UR), waz = int(Table::Waz);
        QTest::newRow("14 SSB") << dxcc << "14" << "SSB" << "B14" << "B14Ssb";
        QTest::newRow("1.8 CW") << ur << "1.8" << "CW" << "B16" << "B16Cw";
        QTest::newRow("3.5 RTTY waz") << waz << "3.5" << "RTTY" << "B35" << "B35RTTY";
        QTest::newRow("FM is other") << dxcc << "50" << "FM" << "B50" << "B50Other";
        QTest::newRow("lower-case cw is other") << dxcc << "7" << "cw" << "B7" << "B7Other";
        QTest::newRow("empty mode is other") << waz << "28" << "" << "B28" << "B28OTHER";
        QTest::newRow("satellite") << dxcc << "Satellite" << "SSB" << "Satellite" << "SatSsb";
        QTest::newRow("satellite as stored") << waz << "Satell" << "CW" << "Satellite" << "SatCW";
        QTest::newRow("144") << dxcc << "144" << "SSB" << "" << "";
        QTest::newRow("430") << ur << "430" << "CW" << "" << "";
        QTest::newRow("1260") << waz << "1260" << "CW" << "" << "";
        QTest::newRow("frequency text") << dxcc << "14.025" << "CW" << "" << "";
        QTest::newRow("case of satellite") << dxcc << "satellite" << "CW" << "" << "";
    }
    void cells()
    {
        QFETCH(int, table);
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(QString, bandCell);
        QFETCH(QString, modeCell);
        const auto c = AwardCells::cells(Table(table), band, mode);
        QCOMPARE(c.has_value(), !bandCell.isEmpty());
        if (c) {
            QCOMPARE(c->band, bandCell);
            QCOMPARE(c->mode, modeCell);
        }
    }

    // Every band x mode class x table names a field of its table's layout.
    void everyCellIsAField()
    {
        const QStringList bands{"1.8", "3.5", "7", "10", "14", "18", "21", "24", "28", "50", "Satellite"};
        const QStringList modes{"CW", "SSB", "RTTY", "FM"};
        const std::pair<Table, Db::TableSchema> tables[] = {{Table::Dxcc, TableSchemas::dxcc()},
                                                            {Table::UR, TableSchemas::ur()},
                                                            {Table::Waz, TableSchemas::waz()}};
        int names = 0;
        for (const auto &[table, schema] : tables) {
            QSet<QString> seen;
            for (const QString &band : bands) {
                for (const QString &mode : modes) {
                    const auto c = AwardCells::cells(table, band, mode);
                    QVERIFY(c);
                    for (const QString &name : {c->band, c->mode}) {
                        const Db::FieldDef *f = schema.field(name);
                        QVERIFY2(f && f->name == name, qPrintable(schema.name + ": " + name));
                        QCOMPARE(f->width, 3);
                        seen.insert(name);
                    }
                }
            }
            QCOMPARE(seen.size(), 55);
            names += int(seen.size());
        }
        QCOMPARE(names, 165);
    }
};

QTEST_GUILESS_MAIN(TestAwardCells)
#include "TestAwardCells.moc"
