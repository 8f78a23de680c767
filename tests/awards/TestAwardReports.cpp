#include "core/ProgramFixture.h"

#include "awards/AwardReports.h"
#include "awards/FMemAw.h"
#include "core/AboutBox.h"
#include "core/GlavnMod.h"
#include "core/Progress.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"

#include <QPlainTextEdit>

using namespace AwardReports;

namespace {

Contact contact(const char *other, const char *call, const char *time = "12:34:56", const char *mode = "SSB")
{
    return {QString::fromUtf8(other), call, "15.01.2003", time, "14", mode, "59", "57"};
}

} // namespace

class TestAwardReports : public QObject {
    Q_OBJECT

private slots:
    // ---- the report text
    void emptyAward()
    {
        QCOMPARE(Report(Award::Iota, " IOTA").text(),
                 QStringLiteral(" IOTA\r\n\r\n\r\nTotal IOTA QSO : 0\r\nTotal Islands  : 0\r\n"));
        QCOMPARE(Report(Award::AwardA, "").text(),
                 QStringLiteral("\r\n\r\n\r\nPoints: 0\r\n\r\nTotal QSO      : 0\r\nTotal Main QSO : 0\r\n"));
    }

    // Two contacts of one island group, a long call split by the date, a
    // one-digit hour, and a contact without a mode listed but not counted.
    void iotaLines()
    {
        Report r(Award::Iota, " IOTA");
        r.add(contact("iEU-005oIsland", "UR5AAA"));
        r.add(contact("iEU-005oOther", "DL1ABCDEFGHIJK", "9:05:00", ""));
        QCOMPARE(r.references(), QStringList{"EU-005"});
        QCOMPARE(r.text(),
                 QStringLiteral(" IOTA\r\n\r\n"
                                "EU-005  UR5AAA       15.01.2003  12:34:56  14  SSB 59  57   Island         \r\n"
                                "EU-005  DL1ABCDEFGHIJ15.01.2003K 09:05:00  14      59  57   Other              \r\n"
                                "\r\nTotal IOTA QSO : 1\r\nTotal Islands  : 1\r\n"));
    }

    void parts_data()
    {
        QTest::addColumn<int>("award");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("extra");
        QTest::newRow("WAS") << int(Award::Was) << "wOHoCleveland1" << "OH" << "Clevelan";
        QTest::newRow("lower-case o cuts the reference") << int(Award::AwardA) << "aRDoMo12" << "RD" << "Mo12";
        QTest::newRow("another award's text") << int(Award::Was) << "iEU-005o" << "" << "";
        // Without an "o" the extra is taken from the first character on.
        QTest::newRow("IOTA without an island name") << int(Award::Iota) << "iAF-001" << "AF-" << "iAF-001";
    }
    void parts()
    {
        QFETCH(int, award);
        QFETCH(QString, other);
        const Parts p = AwardReports::parts(Award(award), other);
        QTEST(p.reference, "reference");
        QTEST(p.extra, "extra");
    }

    // Extras 12, 3, a letter, 0, "1a" and empty: 15 points, one error.
    void points()
    {
        Report r(Award::AwardB, "RDA");
        for (const char *other : {"bKAo12", "bKAo3", "bKBox", "bKBo0", "bKCo1a", "bKD"})
            r.add(contact(other, "UA3AA"));
        QVERIFY(r.text().endsWith(QStringLiteral("Points: 15\r\n1 - Errors of count!\r\n\r\nTotal QSO      : 6\r\n"
                                                 "Total Main QSO : 4\r\n")));
    }

    // ---- through the main window
    void reportWindowAndLog()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {{{"LogCall", "UR5AAA"}, {"LogOther", QString::fromUtf8("aМОСКВАo5")}, {"LogDate", "01.01.2024"}},
                         {{"LogCall", "DL1AB"}, {"LogOther", "iEU-005o"}, {"LogDate", "02.01.2024"}},
                         {{"LogCall", "G4XYZ"}, {"LogDate", "03.01.2024"}}});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->EditDipA->setText("RDA");
        Form3->Award11->click();
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(FMemAw->isVisible());
        QCOMPARE(FMemAw->Memo2->toPlainText(), QString::fromUtf8("МОСКВА"));
        QVERIFY(FMemAw->Memo1->toPlainText().startsWith("RDA\n"));
        QVERIFY(QFile::exists(program.path("Awrds/AwrA.txt")));
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByOther"));
        QCOMPARE(DM->Table1.recordCount(), 1);
        QVERIFY(DM->DataSource1.isEnabled());

        // A report that cannot be written: the windows come back first.
        QVERIFY(QFile::remove(program.path("Awrds/Iota.txt")) || true);
        QVERIFY(QDir().mkpath(program.path("Awrds/Iota.txt/blocked")));
        Form3->IOTA2->click();
        QCOMPARE(dialogs.errors().size(), 1);
        QVERIFY(!Progress->isVisible());
        QVERIFY(Form3->MemoNot->isVisibleTo(Form3));
        QVERIFY(DM->DataSource1.isEnabled());
        destroyWindowSet();
    }

    void commands()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        int shutdowns = 0;
        const Shell::ShutdownRequest previous = Shell::setShutdownRequest([&shutdowns] { ++shutdowns; });
        Form3->ExitWindows1->click();
        Shell::setShutdownRequest(previous);
        QCOMPARE(shutdowns, 1);
        QVERIFY(dialogs.shown.isEmpty());

        Form3->Help2->click();
        QCOMPARE(dialogs.warnings(), QStringList{"Help file Tnl.html not found"});
        QList<QUrl> opened;
        const Shell::UrlOpener opener = Shell::setUrlOpener([&opened](const QUrl &url) {
            opened << url;
            return true;
        });
        QFile help(program.path("Tnl.html"));
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        Form3->Help2->click();
        Shell::setUrlOpener(opener);
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened.first().toLocalFile().endsWith("Tnl.html"));

        AboutBox->showWindow();
        QCOMPARE(AboutBox->windowTitle(), QStringLiteral("About"));
        AboutBox->OKButton->click();
        QVERIFY(!AboutBox->isVisible());
        destroyWindowSet();
    }
};

QTEST_MAIN(TestAwardReports)
#include "TestAwardReports.moc"
