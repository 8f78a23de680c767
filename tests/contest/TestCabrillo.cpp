// The Cabrillo export: the column rule of the QSO lines and the whole file
// from a log.

#include "../core/ProgramFixture.h"

#include "contest/CabrilloLines.h"
#include "contest/UCabrill.h"
#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "platform/ui/Dialogs.h"

#include <QtTest>
#include <sqlite3.h>

namespace {

CabrilloLines::Contact example()
{
    return {"14", "SSB", QDate(2004, 3, 15), QTime(9, 5, 0), "QA1ZZ", "59", "001", "UA3AAA", "57", "017"};
}

} // namespace

class TestCabrillo : public QObject {
    Q_OBJECT

private slots:
    void partExampleByteForByte()
    {
        auto blanks = [](int n) { return QString(n, QLatin1Char(' ')); };
        // The 35 starting blanks all stay: 9 + 2 + 4 + 8 + 2 between the
        // pieces and 6 after the last one (plus the four separators before).
        const QString expected = QStringLiteral("QSO: 14000 PH 2004-03-15 0905 QA1ZZ") + blanks(9) + "59" + blanks(2) +
                                 "001" + blanks(4) + "UA3AAA" + blanks(8) + "57" + blanks(2) + "017" + blanks(6);
        const QString line = CabrilloLines::qsoLine(example()).value_or(QString());
        QCOMPARE(line, expected);
        // Columns, counted from 1.
        QCOMPARE(line.indexOf(QLatin1String("59")) + 1, 45);
        QCOMPARE(line.indexOf(QLatin1String("001")) + 1, 49);
        QCOMPARE(line.indexOf(QLatin1String("UA3AAA")) + 1, 56);
        QCOMPARE(line.indexOf(QLatin1String("57")) + 1, 70);
        QCOMPARE(line.indexOf(QLatin1String("017")) + 1, 74);
    }

    void pieces_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("ownCall");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("begins");
        QTest::newRow("50 MHz, FM unchanged") << "50" << "FM" << "QA1ZZ" << "K1A" << "QSO:    50 FM 2004-03-15 0905 QA1ZZ";
        QTest::newRow("RTTY") << "1.8" << "RTTY" << "QA1ZZ" << "K1A" << "QSO:  1800 RY 2004-03-15 0905 QA1ZZ";
        QTest::newRow("18 MHz") << "18" << "CW" << "QA1ZZ" << "K1A" << "QSO: 18168 CW ";
        QTest::newRow("satellite keeps its text, apart") << "Satell" << "CW" << "QA1ZZ" << "K1A"
                                                         << "QSO: Satell CW 2004-03-15 0905 QA1ZZ";
        QTest::newRow("long own call pushes the report")
            << "14" << "CW" << "QA1ZZ/P/QRP/MM1" << "K1A" << "QSO: 14000 CW 2004-03-15 0905 QA1ZZ/P/QRP/MM1 59 001";
    }
    void pieces()
    {
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(QString, ownCall);
        QFETCH(QString, call);
        QFETCH(QString, begins);
        CabrilloLines::Contact c = example();
        c.band = band;
        c.mode = mode;
        c.ownCall = ownCall;
        c.call = call;
        const QString line = CabrilloLines::qsoLine(c).value_or(QString());
        QVERIFY2(line.startsWith(begins), qPrintable(line));
    }

    // A value holding a line break (a log from elsewhere, written before its
    // values were checked) stays inside its own line, at the same columns.
    void valuesCannotBreakTheirLine_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("report");
        QTest::newRow("call ends the log") << "K1ABC\r\nEND-OF-LOG:" << "59";
        QTest::newRow("20-character call") << "X\r\nCALLSIGN: EVIL" << "59";
        QTest::newRow("report starts a contact") << "K1ABC" << "5\nQSO:";
        QTest::newRow("tab") << "K1ABC\t" << "59\t";
    }
    void valuesCannotBreakTheirLine()
    {
        QFETCH(QString, call);
        QFETCH(QString, report);
        CabrilloLines::Contact c = example();
        c.call = call;
        c.sentReport = report;
        const QString line = CabrilloLines::qsoLine(c).value_or(QString());
        c.call = QString(call).replace(QRegularExpression("[\\r\\n\\t]"), " ");
        c.sentReport = QString(report).replace(QRegularExpression("[\\r\\n\\t]"), " ");
        QCOMPARE(line, CabrilloLines::qsoLine(c).value_or(QString()));

        CabrilloLines::Header header;
        header.callsign = call;
        header.soapbox = report;
        const QStringList lines = CabrilloLines::headerLines(header);
        QCOMPARE(lines.size(), 13);
        QVERIFY(!lines.join(QString()).contains(QRegularExpression("[\\r\\n\\t]")));
    }

    void incompleteContactsAreSkipped_data()
    {
        QTest::addColumn<int>("missing");
        QTest::newRow("call") << 0;
        QTest::newRow("date") << 1;
        QTest::newRow("time") << 2;
        QTest::newRow("band") << 3;
        QTest::newRow("mode") << 4;
    }
    void incompleteContactsAreSkipped()
    {
        QFETCH(int, missing);
        CabrilloLines::Contact c = example();
        switch (missing) {
        case 0: c.call.clear(); break;
        case 1: c.date = {}; break;
        case 2: c.time = {}; break;
        case 3: c.band.clear(); break;
        default: c.mode.clear(); break;
        }
        QVERIFY(!CabrilloLines::qsoLine(c));
    }

    void exportFromTheLog()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {{{"LogCall", "UA3AAA"}, {"LogDate", "15.03.2004"}, {"LogTime", "09:05:00"}, {"LogBand", "14"},
                          {"LogMode", "SSB"}, {"LogTxRst", "59"}, {"LogRxRst", "57"}, {"Log3", "001"}, {"Log2", "017"}},
                         {{"LogCall", "DL1AA"}, {"LogTime", "09:06:00"}, {"LogBand", "7"}, {"LogMode", "CW"}},
                         {{"LogCall", "K1A"}, {"LogDate", "15.03.2004"}, {"LogTime", "10:00:00"}, {"LogBand", "7"},
                          {"LogMode", "CW"}}});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->MaskEditC->setText("QA9XX"); // the settings, read after the window was made
        FCabrillo->showWindow();
        QCOMPARE(FCabrillo->EditOperat->text(), QStringLiteral("QA9XX"));
        FCabrillo->EditMode->setText("-SSB");
        FCabrillo->EditName->setText("Secret Name");
        FCabrillo->EditAdr1->setText("Street 1");
        dialogs.fileNames = {program.path("test")};
        FCabrillo->Button1->click();
        QVERIFY(FCabrillo->isVisible()); // "OK" leaves the window open
        QCOMPARE(dialogs.fileDialogs.first().filter, QStringLiteral("Cabrillo (*.cbr);;All (*.*)"));
        QFile file(program.path("test.cbr"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.endsWith(QLatin1String("END-OF-LOG:\r\n")));
        const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.mid(0, 13),
                 (QStringList{"START-OF-LOG: 2.0", "CREATED-BY: Tarnel Software by QA1ZZ", "ARRL-SECTION:",
                              "CONTEST: ARRL-SSB", "CALLSIGN: QA9XX", "CATEGORY: SINGLE-OP ALL ?PWR?",
                              "CLAIMED-SCORE: ", "OPERATORS: QA9XX", "CLUB: ", "ADDRESS: Street 1", "ADDRESS: ",
                              "ADDRESS: ", "SOAPBOX: "}));
        // The contact without a date is skipped.
        QCOMPARE(lines.size(), 16);
        QVERIFY(lines[13].startsWith(QLatin1String("QSO: 14000 PH 2004-03-15 0905 QA9XX")));
        QVERIFY(lines[14].startsWith(QLatin1String("QSO:  7000 CW 2004-03-15 1000 QA9XX")));
        QVERIFY(!text.contains(QLatin1String("Secret Name")));
        QVERIFY(DM->DataSource1.isEnabled());
        QVERIFY(dialogs.errors().isEmpty());

        // An operator's own text stays; the settings no longer overwrite it.
        FCabrillo->EditOperat->setText("QA9XX QA9YY");
        Config->MaskEditC->setText("QA8AA");
        FCabrillo->showWindow();
        QCOMPARE(FCabrillo->EditOperat->text(), QStringLiteral("QA9XX QA9YY"));
        destroyWindowSet();
    }

    // Calls and reports carrying line breaks, stored through the program and
    // put into the file by plain SQLite: each contact gives one line and the
    // log ends once, after the last one.
    void injectedLineBreaks()
    {
        ProgramFixture program;
        const QList<std::pair<QString, QString>> contact{{"LogDate", "15.03.2004"}, {"LogTime", "09:05:00"},
                                                         {"LogBand", "14"},         {"LogMode", "CW"},
                                                         {"LogTxRst", "599"},       {"LogRxRst", "579"}};
        auto row = [&contact](const QString &call, const QString &txRst) {
            auto r = contact;
            r.append({"LogCall", call});
            r.append({"LogTxRst", txRst});
            return r;
        };
        program.addRows("Log/Log1", "Tarnel",
                        {row("K1ABC\r\nEND-OF-LOG:", "599"), row("X\r\nCALLSIGN: EVIL", "599"),
                         row("K1AA", "5\r\nQSO: 14000 CW"), row("K1BB", "599")});
        sqlite3 *handle = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(program.path("Log/Log1/Tarnel.db")).constData(), &handle), SQLITE_OK);
        QCOMPARE(sqlite3_exec(handle,
                              "INSERT INTO Tarnel (LogCall, LogDate, LogTime, LogBand, LogMode, LogTxRst)"
                              " VALUES ('K1CC' || char(13, 10) || 'END-OF-LOG:', '2004-03-15', '09:06:00', '14',"
                              " 'CW', '5' || char(10) || 'QSO:')",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(handle);

        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        FCabrillo->showWindow();
        dialogs.fileNames = {program.path("test")};
        FCabrillo->Button1->click();
        QFile file(program.path("test.cbr"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
        QCOMPARE(text.count(QLatin1String("END-OF-LOG:")), 3); // two inside the calls
        QCOMPARE(lines.last(), QStringLiteral("END-OF-LOG:"));
        QCOMPARE(lines.filter(QRegularExpression("^CALLSIGN: ")).size(), 1);
        const QStringList qsos = lines.filter(QRegularExpression("^QSO: "));
        QCOMPARE(qsos.size(), 5);
        QVERIFY(!text.chopped(2).replace(QStringLiteral("\r\n"), QString()).contains(QRegularExpression("[\\r\\n]")));
        QCOMPARE(qsos.filter(QLatin1String("K1ABC  END-OF-LOG:")).size(), 1);
        QCOMPARE(qsos.filter(QLatin1String("K1CC  END-OF-LOG:")).size(), 1);
        QCOMPARE(qsos.filter(QLatin1String(" 5 QSO:")).size(), 1);
        QCOMPARE(lines.size(), 13 + 5 + 1);
        QVERIFY(dialogs.errors().isEmpty());
        destroyWindowSet();
    }
};

QTEST_MAIN(TestCabrillo)
#include "TestCabrillo.moc"
