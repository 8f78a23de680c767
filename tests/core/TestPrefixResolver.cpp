#include "awards/BandIndicators.h"
#include "core/PrefixResolver.h"
#include "core/TableSchemas.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

void add(Db::Table &t, const QList<std::pair<QString, QString>> &values)
{
    t.append();
    for (const auto &[f, v] : values)
        t.fieldByName(f).setAsString(v);
    t.post();
}

} // namespace

class TestPrefixResolver : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        db_.setDirectory(dir_.path());
        db_.createTable(TableSchemas::allpref());
        db_.createTable(TableSchemas::prefix());
        db_.createTable(TableSchemas::dxcc());
        allpref_.open();
        prefix_.open();
        for (const auto &[add_, main] : {std::pair{"U", "UA"}, {"UA9", "UA9"}, {"UA0", "UA0"}, {"UR", "UR"},
                                         {"K", "K"}, {"KH6", "KH6"}, {"ZZ", "NOPE"}})
            add(allpref_, {{"AddPrefix", add_}, {"MainPrefix", main}});
        for (const auto &[p, dxcc, country, cq] :
             {std::tuple{"UA", "UA1", "European Russia", "16"}, {"UA9", "UA9", "Asiatic Russia", "17"},
              {"UA0", "UA9", "Asiatic Russia", "18"}, {"UR", "UR", "Ukraine", "16"},
              {"K", "K", "United States", "05"}, {"KH6", "KH6", "Hawaii", "31"}})
            add(prefix_, {{"Prefix", p}, {"DXCCPrefix", dxcc}, {"Country", country}, {"CQZone", cq},
                          {"MainPrefix", p}});
        prefix_.setMasterLink(&allpref_, "MainPrefix", "Prefix");
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("prefix"); // "" = unresolved
        QTest::addColumn<QString>("zone");
        QTest::newRow("one letter") << "U" << 5 << "UA" << "16";
        QTest::newRow("gap: UA3 and UA missing") << "UA3ABC" << 5 << "UA" << "16";
        QTest::newRow("longest wins") << "UA9ABC" << 5 << "UA9" << "17";
        QTest::newRow("sub-prefix") << "UA0AA" << 5 << "UA0" << "18";
        QTest::newRow("Hawaii over USA") << "KH6ABC" << 5 << "KH6" << "31";
        QTest::newRow("USA") << "K1ABC" << 5 << "K" << "05";
        QTest::newRow("case-sensitive") << "kh6abc" << 5 << "" << "";
        QTest::newRow("unknown") << "9Z9ZZ" << 5 << "" << "";
        QTest::newRow("empty") << "" << 5 << "" << "";
        QTest::newRow("prefix without row") << "ZZ1AA" << 5 << "" << "";
        QTest::newRow("limit cuts the prefix") << "KH6ABC" << 2 << "K" << "05";
        QTest::newRow("portable suffix not special") << "UR5AA/P" << 5 << "UR" << "16";
    }
    void resolve()
    {
        QFETCH(QString, call);
        QFETCH(int, limit);
        QFETCH(QString, prefix);
        QFETCH(QString, zone);
        // A previous resolution must never leak into an unresolved call.
        QVERIFY(resolvePrefix(allpref_, prefix_, "KH6", 5));
        const auto row = resolvePrefix(allpref_, prefix_, call, limit);
        QCOMPARE(row.has_value(), !prefix.isEmpty());
        if (row) {
            QCOMPARE(row->prefix, prefix);
            QCOMPARE(row->cqZone, zone);
            QCOMPARE(prefix_.fieldByName("Prefix").asString(), prefix);
        }
    }

    void indicatorColoursFromBandCells()
    {
        Db::Table dxcc(&db_, "Dxcc");
        dxcc.open();
        QCOMPARE(BandIndicators::colours(&dxcc), QList<int>(11, BandIndicators::grey));
        add(dxcc, {{"Prefix", "UR"}, {"B14", "cfm"}, {"B7", "wkd"}, {"B21Cw", "cfm"}, {"Satellite", "WKD"},
                   {"B50", "wkd"}});
        QList<int> expected(11, BandIndicators::grey);
        expected[2] = BandIndicators::green; // 7
        expected[4] = BandIndicators::red;   // 14
        expected[9] = BandIndicators::green; // 50
        QCOMPARE(BandIndicators::colours(&dxcc), expected);
        QCOMPARE(BandIndicators::colours(nullptr), QList<int>(11, BandIndicators::grey));
    }

private:
    QTemporaryDir dir_;
    Db::Database db_;
    Db::Table allpref_{&db_, "Allpref"};
    Db::Table prefix_{&db_, "Prefix"};
};

QTEST_GUILESS_MAIN(TestPrefixResolver)
#include "TestPrefixResolver.moc"
