#include "exchange/AdifContact.h"
#include "exchange/AdifReader.h"

#include <QtTest>

namespace {

AdifContact::Result convert(const QByteArray &fields)
{
    AdifReader reader(fields + "<EOR>");
    const auto record = reader.next();
    if (!record)
        return {std::nullopt, QStringLiteral("no record"), {}};
    return AdifContact::fromRecord(*record);
}

// The required fields, so each table varies only what it is about.
const QByteArray base = "<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:6>123456 <MODE:3>SSB ";

} // namespace

class TestAdifContact : public QObject {
    Q_OBJECT
private slots:
    void everyField_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the plain contact")
            << QByteArray("<CALL:5>QB1AA <QSO_DATE:8>20030115 <TIME_ON:6>123456 <BAND:3>20M <MODE:3>SSB")
            << QStringList{"QB1AA", "15.01.2003", "12:34", "14", "20M", "SSB", "", "", "", "", "", "", "   ", "0"};
        QTest::newRow("lower case, reports, name, QTH")
            << QByteArray("<call:6>dl4bdf <qso_date:8:D>20231008 <time_on:4:T>1145 <band:3>80m <mode:2>am "
                          "<rst_rcvd:2>57 <rst_sent:3>599 <name:6>Walter <qth:8>Dortmund")
            << QStringList{"DL4BDF", "08.10.2023", "11:45", "3.5", "80M",      "AM", "57",
                           "599",    "Walter",     "Dortmund", "", "", "   ", "0"};
    }
    void everyField()
    {
        QFETCH(QByteArray, record);
        QFETCH(QStringList, expected);
        const auto result = convert(record);
        QVERIFY2(result.contact, qPrintable(result.message));
        const AdifContact::Contact &c = *result.contact;
        const QStringList actual{c.call, c.date,  c.time,  c.band,  c.rawBand, c.mode,    c.rstRx,
                                 c.rstTx, c.name, c.qth,   c.txQsl, c.rxQsl,   c.notepad, QString::number(c.confirmed)};
        QCOMPARE(actual, expected);
        QCOMPARE(result.message, QString());
    }

    // Accepted contacts as "call date time"; rejections with their one box.
    void checks_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("outcome");
        const QByteArray band = "<BAND:3>20M ";
        auto with = [&](const char *call, const char *date, const char *time) {
            QByteArray r = band + "<MODE:2>CW ";
            if (call)
                r += "<CALL:" + QByteArray::number(qstrlen(call)) + '>' + call + ' ';
            if (date)
                r += "<QSO_DATE:" + QByteArray::number(qstrlen(date)) + '>' + date + ' ';
            if (time)
                r += "<TIME_ON:" + QByteArray::number(qstrlen(time)) + '>' + time + ' ';
            return r;
        };
        QTest::newRow("six-digit time") << with("QB1AA", "20030115", "235959") << "QB1AA 15.01.2003 23:59";
        QTest::newRow("four-digit time") << with("QB1AA", "20031231", "0000") << "QB1AA 31.12.2003 00:00";
        QTest::newRow("month 13") << with("QB1AA", "20031315", "1234") << "rejected";
        QTest::newRow("day 32") << with("QB1AA", "20030132", "1234") << "rejected";
        QTest::newRow("hour 24") << with("QB1AA", "20030115", "2400") << "rejected";
        QTest::newRow("minute 60") << with("QB1AA", "20030115", "1260") << "rejected";
        QTest::newRow("31 February") << with("QB1AA", "20030231", "1234") << "rejected: Error in ADIF file ! QB1AA";
        QTest::newRow("day 0") << with("QB1AA", "20030100", "1234") << "rejected: Error in ADIF file ! QB1AA";
        QTest::newRow("date with dashes")
            << with("QB1AA", "2003-01-15", "1234") << "rejected: Invalid Date in ADIF file ! QB1AA";
        QTest::newRow("seven-digit date")
            << with("QB1AA", "2003011", "1234") << "rejected: Invalid Date in ADIF file ! QB1AA";
        QTest::newRow("empty date") << with("qb1aa", "", "1234") << "rejected: Invalid Date in ADIF file ! QB1AA";
        QTest::newRow("time with colon")
            << with("QB1AA", "20030115", "12:34") << "rejected: Invalid Time in ADIF file ! QB1AA";
        QTest::newRow("five-digit time")
            << with("QB1AA", "20030115", "12345") << "rejected: Invalid Time in ADIF file ! QB1AA";
        QTest::newRow("one box for a bad date and time")
            << with("QB1AA", "x", "y") << "rejected: Invalid Date in ADIF file ! QB1AA";
        QTest::newRow("no call") << with(nullptr, "20030115", "1234") << "rejected";
        QTest::newRow("no date") << with("QB1AA", nullptr, "1234") << "rejected";
        QTest::newRow("no time") << with("QB1AA", "20030115", nullptr) << "rejected";
        QTest::newRow("no mode") << (base.left(base.indexOf("<MODE")) + band) << "rejected";
        QTest::newRow("neither band nor frequency") << base << "rejected";
        QTest::newRow("empty band") << (base + "<BAND:0>") << "rejected";
    }
    void checks()
    {
        QFETCH(QByteArray, record);
        QFETCH(QString, outcome);
        const auto result = convert(record);
        const QString actual = result.contact
            ? result.contact->call + u' ' + result.contact->date + u' ' + result.contact->time
            : QStringLiteral("rejected") + (result.message.isEmpty() ? QString() : QStringLiteral(": ") + result.message);
        QCOMPARE(actual, outcome);
        if (result.contact) {
            QCOMPARE(result.contact->qsoDate.toString(u"dd.MM.yyyy"), result.contact->date);
            QCOMPARE(result.contact->qsoTime.toString(u"HH:mm"), result.contact->time);
        }
    }

    void band_data()
    {
        QTest::addColumn<QByteArray>("fields");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("rawBand");
        QTest::newRow("BAND") << QByteArray("<BAND:3>20M") << "14" << "20M";
        QTest::newRow("BAND lower case") << QByteArray("<BAND:4>70cm") << "430" << "70CM";
        QTest::newRow("satellite") << QByteArray("<BAND:3>sat") << "Satellite" << "SAT";
        QTest::newRow("23CM") << QByteArray("<BAND:4>23CM") << "1260" << "23CM";
        QTest::newRow("BAND over FREQ") << QByteArray("<FREQ:5>7.025 <BAND:3>20M") << "14" << "20M";
        QTest::newRow("FREQ 14.025") << QByteArray("<FREQ:6>14.025") << "14" << "";
        QTest::newRow("FREQ with comma") << QByteArray("<FREQ:5>3,525") << "3.5" << "";
        QTest::newRow("FREQ 1.830") << QByteArray("<FREQ:5>1.830") << "1.8" << "";
        QTest::newRow("FREQ 7.025") << QByteArray("<FREQ:5>7.025") << "7" << "";
        QTest::newRow("FREQ 430.1") << QByteArray("<FREQ:5>430.1") << "430" << "";
        QTest::newRow("FREQ 1296") << QByteArray("<FREQ:6>1296.0") << "1260" << "";
        QTest::newRow("FREQ 145.987129") << QByteArray("<FREQ:10>145.987129") << "144" << "";
        QTest::newRow("lower edge 18.068") << QByteArray("<FREQ:6>18.068") << "18" << "";
        QTest::newRow("upper edge 10.15") << QByteArray("<FREQ:5>10.15") << "10" << "";
        QTest::newRow("above 7.3") << QByteArray("<FREQ:5>7.301") << "7.301" << "";
        QTest::newRow("unknown BAND, FREQ in a band") << QByteArray("<BAND:4>630M <FREQ:6>14.025") << "14" << "630M";
        QTest::newRow("630M and 0.472") << QByteArray("<BAND:4>630m <FREQ:5>0.472") << "630M" << "630M";
        QTest::newRow("FREQ 5.357 alone") << QByteArray("<FREQ:5>5.357") << "5.357" << "";
        QTest::newRow("long FREQ cut to 6") << QByteArray("<FREQ:8>10489.55") << "10489." << "";
    }
    void band()
    {
        QFETCH(QByteArray, fields);
        QFETCH(QString, band);
        QFETCH(QString, rawBand);
        const auto result = convert(base + fields);
        QVERIFY2(result.contact, qPrintable(result.message));
        QCOMPARE(result.contact->band, band);
        QCOMPARE(result.contact->rawBand, rawBand);
    }

    void qslAndNotepad_data()
    {
        QTest::addColumn<QByteArray>("fields");
        QTest::addColumn<QString>("txQsl");
        QTest::addColumn<QString>("rxQsl");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("notepad");
        QTest::newRow("nothing") << QByteArray() << "" << "" << false << "   ";
        QTest::newRow("received Y with date")
            << QByteArray("<QSL_RCVD:1>Y <QSLRDATE:8>20030201") << "" << "01.02.2003  " << true << "   ";
        QTest::newRow("received y") << QByteArray("<QSL_RCVD:1>y") << "" << "  Y" << true << "   ";
        QTest::newRow("received N") << QByteArray("<QSL_RCVD:1>N") << "" << "" << false << "   ";
        QTest::newRow("received R") << QByteArray("<QSL_RCVD:1>R") << "" << "" << false << "   ";
        QTest::newRow("sent Y") << QByteArray("<QSL_SENT:1>Y") << "  Y" << "" << false << "   ";
        QTest::newRow("sent Q with date: not sent")
            << QByteArray("<QSL_SENT:1>Q <QSLSDATE:8>20240510") << "" << "" << false << "   ";
        QTest::newRow("date that is no date") << QByteArray("<QSLSDATE:10>2024-05-10") << "" << "" << false << "   ";
        QTest::newRow("QSL_VIA and NOTES")
            << QByteArray("<NOTES:4>test <QSL_VIA:5>QB2BB") << "" << "" << false << "QB2BB   test";
        QTest::newRow("NOTES and COMMENT joined")
            << QByteArray("<COMMENT:3>cmt <NOTES:5>notes") << "" << "" << false << "   notescmt";
    }
    void qslAndNotepad()
    {
        QFETCH(QByteArray, fields);
        QFETCH(QString, txQsl);
        QFETCH(QString, rxQsl);
        QFETCH(bool, confirmed);
        QFETCH(QString, notepad);
        const auto result = convert(base + "<BAND:3>20M " + fields);
        QVERIFY2(result.contact, qPrintable(result.message));
        QCOMPARE(result.contact->txQsl, txQsl);
        QCOMPARE(result.contact->rxQsl, rxQsl);
        QCOMPARE(result.contact->confirmed, confirmed);
        QCOMPARE(result.contact->notepad, notepad);
    }
};

QTEST_GUILESS_MAIN(TestAdifContact)
#include "TestAdifContact.moc"
