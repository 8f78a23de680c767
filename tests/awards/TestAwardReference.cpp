#include "awards/AwardReference.h"

#include <QtTest>

using namespace AwardReference;

Q_DECLARE_METATYPE(AwardReference::Kind)

class TestAwardReference : public QObject {
    Q_OBJECT
private slots:
    void copy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("middle") << "iEU-038" << 2 << 2 << "EU";
        QTest::newRow("start below 1") << "abc" << -3 << 2 << "ab";
        QTest::newRow("start 0") << "abc" << 0 << 1 << "a";
        QTest::newRow("count 0") << "abc" << 1 << 0 << "";
        QTest::newRow("negative count") << "abc" << 2 << -2 << "";
        QTest::newRow("past the end") << "abc" << 4 << 1 << "";
        QTest::newRow("count past the end") << "abc" << 2 << 10 << "bc";
        QTest::newRow("empty text") << "" << 1 << 5 << "";
    }
    void copy()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QCOMPARE(AwardReference::copy(text, start, count), expected);
    }

    void encodePriorityAndWidths_data()
    {
        QTest::addColumn<QStringList>("fields"); // the nine window fields
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << QStringList(9) << "";
        QTest::newRow("iota") << QStringList{"EU", "038", "Rugen", "", "", "", "", "", ""} << "iEU-038oRugen";
        QTest::newRow("was") << QStringList{"", "", "", "TX", "Austin", "", "", "", ""} << "wTXoAustin";
        QTest::newRow("iota over was") << QStringList{"EU", "038", "Rugen", "TX", "Austin", "", "", "", ""}
                                       << "iEU-038oRugen";
        QTest::newRow("was over award 1") << QStringList{"", "", "", "TX", "", "R150", "x", "", ""} << "wTXo";
        QTest::newRow("award 1 over award 2") << QStringList{"", "", "", "", "", "R150", "x", "B7", "y"} << "aR150ox";
        QTest::newRow("award 2 alone") << QStringList{"", "", "", "", "", "", "", "B7", "y"} << "bB7oy";
        QTest::newRow("only the first field decides") << QStringList{"", "038", "Rugen", "", "", "", "", "", ""} << "";
        QTest::newRow("iota at full width")
            << QStringList{"EUR", "0381", "Rugenislan", "", "", "", "", "", ""} << "iEUR-0381oRugenislan";
        QTest::newRow("iota over-long parts")
            << QStringList{"EURO", "03812", "Rugen island", "", "", "", "", "", ""} << "iEUR-0381oRugen isla";
        QTest::newRow("was at full width")
            << QStringList{"", "", "", "TEXAS", "Austin 123456", "", "", "", ""} << "wTEXASoAustin 123456";
        QTest::newRow("award over-long")
            << QStringList{"", "", "", "", "", "ABCDEFGHIJK", "123456789", "", ""} << "aABCDEFGHIJo12345678";
    }
    void encodePriorityAndWidths()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, expected);
        const Fields f{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7], fields[8]};
        QCOMPARE(encode(f), expected);
        QVERIFY(encode(f).size() <= 20);
    }

    void decode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<AwardReference::Kind>("kind");
        QTest::addColumn<QString>("f1");
        QTest::addColumn<QString>("f2");
        QTest::addColumn<QString>("f3");
        QTest::newRow("iota") << "iEU-038oRugen" << Kind::Iota << "EU" << "038" << "Rugen";
        QTest::newRow("iota full") << "iEUR-0381oRugenislan" << Kind::Iota << "EUR" << "0381" << "Rugenislan";
        QTest::newRow("was with o in info") << "wTXoDallas Fort o" << Kind::Was << "TX" << "Dallas Fort o" << "";
        QTest::newRow("award 1") << "aR150ox" << Kind::AwardA << "R150" << "x" << "";
        QTest::newRow("award 2") << "bB7oy" << Kind::AwardB << "B7" << "y" << "";
        QTest::newRow("empty") << "" << Kind::None << "" << "" << "";
        QTest::newRow("other letter") << "xABCoD" << Kind::None << "" << "" << "";
        // Foreign texts: no landmark, part of one, a bare letter.
        QTest::newRow("bare i") << "i" << Kind::Iota << "" << "" << "i";
        QTest::newRow("iota without o") << "iEU-038" << Kind::Iota << "EU" << "" << "iEU-038";
        QTest::newRow("was without o") << "wTX" << Kind::Was << "" << "wTX" << "";
        QTest::newRow("iota without dash") << "iEU038oX" << Kind::Iota << "" << "iEU038" << "X";
        QTest::newRow("o before dash") << "ioEU-1" << Kind::Iota << "oEU" << "" << "EU-1";
    }
    void decode()
    {
        QFETCH(QString, text);
        QFETCH(AwardReference::Kind, kind);
        QFETCH(QString, f1);
        QFETCH(QString, f2);
        QFETCH(QString, f3);
        const Decoded d = AwardReference::decode(text);
        QCOMPARE(d.kind, kind);
        QCOMPARE(d.field1, f1);
        QCOMPARE(d.field2, f2);
        QCOMPARE(d.field3, f3);
    }

    void roundTripAtFullWidth()
    {
        const Fields f{"OCX", "1234", "Isle of Ma", "", "", "", "", "", ""};
        const Decoded d = AwardReference::decode(encode(f));
        QCOMPARE(d.field1, f.iotaLetters);
        QCOMPARE(d.field2, f.iotaNumber);
        QCOMPARE(d.field3, f.iotaIsland);
    }
};

QTEST_GUILESS_MAIN(TestAwardReference)
#include "TestAwardReference.moc"
