#include "HostilePages.h"
#include "lookups/CallbookPage.h"
#include "lookups/SpotLines.h"
#include "platform/web/PageLoader.h"
#include "platform/web/WebPage.h"

#include <QtTest>

class TestSpotRules : public QObject {
    Q_OBJECT

private slots:
    // Pages are read by the page reader of this build.
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("TARNEL_PAGE_READER"))
            qputenv("TARNEL_PAGE_READER", TARNEL_PAGE_READER_PATH);
    }

    void spotLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields"); // spotter, frequency, DX, comment, time, date
        const QString pad30 = QStringLiteral("CW up 2").leftJustified(30);
        QTest::newRow("double blank, fixed comment column")
            << "DL1ABC  14025.0  UR5AAA      " + pad30 + "1234Z 09 Dec 2026"
            << QStringList{"DL1ABC", "14025.0", "UR5AAA", pad30.left(28), "234Z", "09 Dec 2"};
        QTest::newRow("single blank loses the frequency's first digit")
            << "DL1ABC 14025.0  UR5AAA  " + pad30 + "Z1234 09 Dec"
            << QStringList{"DL1ABC", "4025.0", "UR5AAA", pad30.left(28), "1234", "09 Dec"};
        QTest::newRow("comment ended by three blanks")
            << QStringLiteral("G4XYZ   7025.0  K1ABC  QSL via EA5XX      DE1234 09 Dec")
            << QStringList{"G4XYZ", "7025.0", "K1ABC", "QSL via EA5XX", "1234", "09 Dec"};
        QTest::newRow("plain time")
            << QStringLiteral("G4XYZ   7025.0  K1ABC  QSL via EA5XX   1234 09 Dec")
            << QStringList{"G4XYZ", "7025.0", "K1ABC", "QSL via EA5XX", "1234", "09 Dec"};
        QTest::newRow("no blanks") << QStringLiteral("garbage")
                                   << QStringList{"", "", "", "arbage", "", ""};
        QTest::newRow("empty") << QString() << QStringList{"", "", "", "", "", ""};
    }
    void spotLine()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        const SpotLines::Spot s = SpotLines::parse(line);
        QCOMPARE((QStringList{s.spotter, s.frequency, s.dx, s.comment, s.time, s.date}), fields);
    }

    void band_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("band");
        QTest::newRow("1825.0") << "1825.0" << "1.8";
        QTest::newRow("3505.0") << "3505.0" << "3.5";
        QTest::newRow("7150") << "7150" << "7";
        QTest::newRow("7100.0") << "7100.0" << "7";
        QTest::newRow("10120.0") << "10120.0" << "10";
        QTest::newRow("14025.0") << "14025.0" << "14";
        QTest::newRow("18100.0") << "18100.0" << "18";
        QTest::newRow("24950") << "24950" << "24";
        QTest::newRow("28495.0") << "28495.0" << "28";
        QTest::newRow("50110.0") << "50110.0" << "50";
        QTest::newRow("144300.0") << "144300.0" << "144";
        QTest::newRow("432100.0") << "432100.0" << "430";
        QTest::newRow("70 MHz stays") << "70200.0" << "70200.0";
        QTest::newRow("between bands stays") << "5357.0" << "5357.0";
        QTest::newRow("not a number stays") << "4025,0x" << "4025,0x";
    }
    void band()
    {
        QFETCH(QString, frequency);
        QFETCH(QString, band);
        QCOMPARE(SpotLines::bandKey(frequency), band);
    }

    void bandPlan_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("mode");
        QTest::newRow("14025.0") << "14025.0" << "CW";
        QTest::newRow("14100.0") << "14100.0" << "SSB";
        QTest::newRow("14230.0") << "14230.0" << "SSTV";
        QTest::newRow("10140.0") << "10140.0" << "BPSK";
        QTest::newRow("3740.0") << "3740.0" << "SSB";
        QTest::newRow("18100.0") << "18100.0" << "BPSK";
        QTest::newRow("18110.0") << "18110.0" << "SSB";
        QTest::newRow("21080.0") << "21080.0" << "BPSK";
        QTest::newRow("28100.0") << "28100.0" << "BPSK";
        QTest::newRow("144300.0") << "144300.0" << "FM";
        QTest::newRow("50110.0") << "50110.0" << "SSB";
        QTest::newRow("no point") << "7025" << "SSB";
        QTest::newRow("not a number") << "***" << "SSB";
        QTest::newRow("design text") << "0" << "SSB";
    }
    void bandPlan()
    {
        QFETCH(QString, frequency);
        QFETCH(QString, mode);
        QCOMPARE(SpotLines::bandPlanMode(frequency), mode);
    }

    void callbookCut_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("kept");
        // Lines named by their first index; the cut keeps the station's block.
        QTest::newRow("full page") << 40
                                   << QStringList{"12", "13", "14", "15", "16", "20", "29", "30", "31", "32", "33",
                                                  "34", "35", "36", "37", "38", "39"};
        QTest::newRow("short page") << 3 << QStringList{};
        QTest::newRow("no lines") << 0 << QStringList{};
    }
    void callbookCut()
    {
        QFETCH(int, lines);
        QFETCH(QStringList, kept);
        QStringList page;
        for (int i = 0; i < lines; ++i)
            page << QString::number(i);
        QCOMPARE(CallbookPage::cut(page), kept);
        QCOMPARE(CallbookPage::memo("UR5AAA", page), QStringList{"UR5AAA"} + kept);
    }

    void callbookPage()
    {
        QCOMPARE(CallbookPage::url("https://cb.example/db/%1", "UR5AAA/P"), "https://cb.example/db/UR5AAA%2FP");
        QCOMPARE(CallbookPage::url("http://h/x?callsign=%1", "G&K"), "http://h/x?callsign=G%26K");
        // Every element but the last 104, each split into its lines.
        QByteArray html = "<p>a<br>b</p>";
        for (int i = 0; i < 104; ++i)
            html += "<i>z</i>";
        const Web::Document page = Web::Document::parse(html);
        QCOMPARE(page.count(), 109);
        const QString z(104, u'z');
        // html, head, body, p and br; none of the <i>.
        QCOMPARE(CallbookPage::elementLines(page), (QStringList{"a", "b", z, "", "a", "b", z, "a", "b", ""}));
        QCOMPARE(CallbookPage::elementLines(Web::Document::parse(html.chopped(5 * 8))), QStringList());
    }

    // Every nested element's text holds all those within it: a page of nested
    // blocks would give the square of its size. The lines stop at the page's
    // size, the whole page's text first.
    void callbookPageOfNestedBlocks()
    {
        constexpr int depth = 1990;
        QByteArray html;
        for (int i = 0; i < depth; ++i)
            html += "<div>" + QByteArray::number(i).rightJustified(4, '0') + ' ' + QByteArray(150, 'x');
        html += QByteArray("</div>").repeated(depth);
        const Web::Document page = Web::Document::parse(html);
        QCOMPARE(page.count(), depth + 3);
        const QStringList lines = CallbookPage::elementLines(page);
        qsizetype held = 0;
        for (const QString &line : lines)
            held += line.size();
        QVERIFY2(held <= page.sourceLength() + 155, qPrintable(QString::number(held)));
        QVERIFY(held >= page.sourceLength());
        QCOMPARE(lines.mid(0, depth), page.wholeText().split(u'\n'));
    }

    // Blocks of formatting elements each block's end leaves open, which the
    // parser opens again at the next text: a page at the size limit still
    // parses within the reader's limits and its lines stay within its size.
    void callbookPageOfReopenedFormatting()
    {
        const QByteArray html = Bench::formattingPage(Web::maximumPageSize);
        const Web::Document page = Web::Document::parse(html);
        const QStringList lines = CallbookPage::elementLines(page);
        QVERIFY(page.count() <= Web::maximumNesting + 3 + int(html.count("</div>x")));
        qsizetype held = 0;
        for (const QString &line : lines)
            held += line.size();
        QVERIFY(held <= page.sourceLength());
        QCOMPARE(page.wholeText().count(u'x'), html.count("</div>x"));
    }
};

QTEST_GUILESS_MAIN(TestSpotRules)
#include "TestSpotRules.moc"
