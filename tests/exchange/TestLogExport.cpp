#include "exchange/AdifContact.h"
#include "exchange/AdifReader.h"
#include "exchange/AdifWriter.h"
#include "exchange/TextExport.h"

#include <QtTest>

namespace {

// call, date, time, band, mode, rstRx, rstTx, name, qth, rxQsl, txQsl, notepad
LogRowTexts rowOf(const QStringList &f)
{
    return LogRowTexts{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11]};
}

// A plain contact; each case changes what it is about.
QStringList example(std::initializer_list<std::pair<int, QString>> changes = {})
{
    QStringList f{"QB1AA", "15.01.2003", "12:34:00", "14", "SSB", "59", "57", "", "", "", "Yes", "   "};
    for (const auto &[at, text] : changes)
        f[at] = text;
    return f;
}

enum { Call, Date, Time, Band, Mode, RstRx, RstTx, Name, Qth, RxQsl, TxQsl, Notepad };

// Texts placed at 1-based columns of a line of blanks.
QString placed(std::initializer_list<std::pair<int, QString>> texts, int length)
{
    QString line(length, u' ');
    for (const auto &[column, text] : texts)
        line.replace(column - 1, text.size(), text);
    return line;
}

} // namespace

class TestLogExport : public QObject {
    Q_OBJECT
private slots:
    void adifLine_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("line");
        const QString tail = "<MODE:3>SSB <RST_RCVD:2>59 <RST_SENT:2>57 <QSL_RCVD:1>N <QSL_SENT:1>Y <EOR>";
        QTest::newRow("plain contact")
            << example()
            << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:3>20M <FREQ:2>14 " + tail;
        QTest::newRow("empty notepad")
            << example({{Notepad, ""}})
            << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:3>20M <FREQ:2>14 <MODE:3>SSB "
               "<RST_RCVD:2>59 <RST_SENT:2>57 <QSL_RCVD:1>N <QSL_SENT:1>Y <NOTES:18>Format only Tarnel <EOR>";
        QTest::newRow("band 7")
            << example({{Band, "7"}})
            << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:3>40M <FREQ:2> 7 " + tail;
        QTest::newRow("band 144")
            << example({{Band, "144"}})
            << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:2>2M <FREQ:3>144 " + tail;
        QTest::newRow("band 7.0")
            << example({{Band, "7.0"}})
            << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:0> <FREQ:3>7.0 " + tail;
        QTest::newRow("satellite") << example({{Band, "Satell"}})
                                   << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:3>SAT " + tail;
        QTest::newRow("band 630M, no key and no number")
            << example({{Band, "630M"}}) << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:4>630M " + tail;
        QTest::newRow("no band") << example({{Band, ""}})
                                 << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:0> " + tail;
        QTest::newRow("year 03") << example({{Date, "15.01.03"}})
                                 << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:3>20M <FREQ:2>14 " + tail;
        QTest::newRow("year 41") << example({{Date, "15.01.41"}})
                                 << "<CALL:5>QB1AA <QSO_DATE:8>19410115 <TIME_ON:4>1234 <BAND:3>20M <FREQ:2>14 " + tail;
        QTest::newRow("no date") << example({{Date, ""}})
                                 << "<CALL:5>QB1AA <QSO_DATE:0> <TIME_ON:4>1234 <BAND:3>20M <FREQ:2>14 " + tail;
        QTest::newRow("one-digit hour") << example({{Time, "9:05:00"}})
                                        << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>0905 <BAND:3>20M <FREQ:2>14 " + tail;
        QTest::newRow("name, QTH in UTF-8 bytes, QSL received")
            << example({{Name, "Jörg"}, {Qth, "Petäjävesi"}, {RxQsl, "  Y"}, {TxQsl, ""}})
            << "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:4>1234 <BAND:3>20M <FREQ:2>14 <MODE:3>SSB "
               "<RST_RCVD:2>59 <RST_SENT:2>57 <NAME:5>Jörg <QTH:12>Petäjävesi <QSL_RCVD:1>Y <QSL_SENT:1>N <EOR>";
    }
    void adifLine()
    {
        QFETCH(QStringList, row);
        QFETCH(QString, line);
        QCOMPARE(QString::fromUtf8(AdifWriter::recordLine(rowOf(row))), line);
    }

    // What the export writes, the import reads back as the same contact, so a
    // second import of an export adds nothing.
    void readBack_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("notepad");
        QTest::newRow("saved with seconds") << example({{Time, "12:34:56"}}) << "14" << "   ";
        QTest::newRow("satellite") << example({{Band, "Satell"}}) << "Satellite" << "   ";
        QTest::newRow("band 7.0") << example({{Band, "7.0"}}) << "7" << "   ";
        QTest::newRow("band 1.8, notes") << example({{Band, "1.8"}, {Notepad, "QB2BB   hi"}}) << "1.8"
                                         << "   Format only Tarnel";
        QTest::newRow("name and QTH in UTF-8") << example({{Name, "Jörg"}, {Qth, "Петрозаводск"}}) << "14" << "   ";
    }
    void readBack()
    {
        QFETCH(QStringList, row);
        QFETCH(QString, band);
        QFETCH(QString, notepad);
        const QByteArray file = AdifWriter::header() + AdifWriter::recordLine(rowOf(row)) + AdifWriter::lineEnd;
        AdifReader reader(file);
        const auto record = reader.next();
        QVERIFY(record);
        QVERIFY(!reader.next());
        const auto result = AdifContact::fromRecord(*record);
        QVERIFY2(result.contact, qPrintable(result.message));
        const AdifContact::Contact &c = *result.contact;
        QCOMPARE(QStringList({c.call, c.date, c.time, c.mode, c.rstRx, c.rstTx, c.name, c.qth}),
                 QStringList({row[Call], row[Date], row[Time].left(5), row[Mode], row[RstRx], row[RstTx], row[Name],
                              row[Qth]}));
        QCOMPARE(c.band, band);
        QCOMPARE(c.txQsl, QStringLiteral("  Y"));
        QCOMPARE(c.rxQsl, QString());
        QCOMPARE(c.notepad, notepad);
    }

    void textLine_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("line");
        const QStringList bob = example({{Time, "12:34:56"}, {Name, "Bob"}, {Qth, "Lyon"}});
        QTest::newRow("Lyon appended at 66") << bob
                                             << placed({{1, "QB1AA"}, {15, "15.01.2003"}, {26, "12:34:56"},
                                                        {36, "14"}, {40, "SSB"}, {44, "59"}, {48, "57"},
                                                        {53, "Bob"}, {66, "Lyon"}},
                                                       69);
        const QString robertLine = placed({{1, "QB1AA"}, {15, "15.01.2003"}, {26, "09:05:00"}, {36, "144"},
                                           {40, "CW"}, {44, "599"}, {48, "599"}, {53, "Robert"}, {69, "Lyon"}},
                                          74);
        const auto robert = [&](const QString &time) {
            return example({{Time, time}, {Band, "144"}, {Mode, "CW"}, {RstRx, "599"}, {RstTx, "599"},
                            {Name, "Robert"}, {Qth, "Lyon"}});
        };
        QTest::newRow("Lyon at 69, two trailing blanks") << robert("09:05:00") << robertLine;
        QTest::newRow("one-digit hour") << robert("9:05:00") << robertLine;
        QTest::newRow("16-character call")
            << example({{Call, "QB1AA/QB1AA/ABCD"}, {Time, "12:34:56"}, {Name, "Bob"}, {Qth, "Lyon"}})
            << "QB1AA/QB1AA/AB15.01.2003C12:34:56D 14  SSB 59  57   Bob             Lyon        ";
    }
    void textLine()
    {
        QFETCH(QStringList, row);
        QFETCH(QString, line);
        QCOMPARE(TextExport::line(rowOf(row)), line);
    }

    void textWritten_data()
    {
        QTest::addColumn<int>("emptied");
        QTest::addColumn<bool>("written");
        QTest::newRow("whole row") << -1 << true;
        for (int f : {Call, Date, Time, Band, Mode})
            QTest::addRow("no field %d", f) << f << false;
        for (int f : {RstRx, RstTx, Name, Qth})
            QTest::addRow("no field %d", f) << f << true;
    }
    void textWritten()
    {
        QFETCH(int, emptied);
        QFETCH(bool, written);
        QStringList row = example();
        if (emptied >= 0)
            row[emptied].clear();
        QCOMPARE(TextExport::isWritten(rowOf(row)), written);
    }

    void filesAndHeaders_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default name") << "/tmp/Tnladi" << ".adi" << "/tmp/Tnladi.adi";
        QTest::newRow("already .adi") << "/tmp/log.adi" << ".adi" << "/tmp/log.adi";
        QTest::newRow("upper case") << "/tmp/LOG.ADI" << ".adi" << "/tmp/LOG.ADI";
        QTest::newRow("inside the name") << "/tmp/log.adi.old" << ".adi" << "/tmp/log.adi.old.adi";
        QTest::newRow("text") << "/tmp/Tnltext" << ".txt" << "/tmp/Tnltext.txt";
        QTest::newRow("text kept") << "/tmp/x.Txt" << ".txt" << "/tmp/x.Txt";
    }
    void filesAndHeaders()
    {
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QFETCH(QString, expected);
        QCOMPARE(withExtension(name, extension), expected);
        QCOMPARE(AdifWriter::header(), QByteArray("Tarnel\r\n<EOH>\r\n"));
        QCOMPARE(TextExport::header(), QByteArray("Tarnel\r\n\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestLogExport)
#include "TestLogExport.moc"
