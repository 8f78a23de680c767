#include "core/GreatCircle.h"
#include "core/LatinKeyMap.h"
#include "core/StationTime.h"

#include <QtTest>

class TestGeometryAndTime : public QObject {
    Q_OBJECT
private slots:
    void greatCircle_data()
    {
        QTest::addColumn<double>("ownLat");
        QTest::addColumn<double>("ownLon");
        QTest::addColumn<double>("dxLat");
        QTest::addColumn<double>("dxLonWest");
        QTest::addColumn<int>("km");
        QTest::addColumn<int>("heading");
        QTest::addColumn<int>("back");
        // Kyiv to New York (the prefix table keeps New York's longitude west positive).
        QTest::newRow("Kyiv - New York") << 50.45 << 30.52 << 40.71 << 74.01 << 7512 << 307 << 53;
        QTest::newRow("one-decimal own position") << 50.5 << 30.5 << 40.71 << 74.01 << 7507 << 307 << 53;
        QTest::newRow("same point") << 50.45 << 30.52 << 50.45 << -30.52 << 0 << 0 << 360;
        QTest::newRow("same point across 360") << 10.0 << -170.0 << 10.0 << -190.0 << 0 << 0 << 360;
        // The constants put the arc a hair short of 180 and 20 degrees, and
        // truncation shows it.
        QTest::newRow("antipodes") << 10.0 << 20.0 << -10.0 << 160.0 << 20016 << 90 << 270;
        // Same meridian: e = 0 counts as east, so the heading is A itself.
        QTest::newRow("due north") << 10.0 << 20.0 << 30.0 << -20.0 << 2223 << 0 << 360;
        QTest::newRow("due south") << 30.0 << 20.0 << 10.0 << -20.0 << 2223 << 180 << 180;
        // e = -200 lies east, e = 220 lies west.
        QTest::newRow("east across the date line") << 0.0 << 30.0 << 0.0 << 170.0 << 17791 << 90 << 270;
        QTest::newRow("west across 180") << 0.0 << -100.0 << 0.0 << -120.0 << 15568 << 269 << 91;
    }
    void greatCircle()
    {
        QFETCH(double, ownLat);
        QFETCH(double, ownLon);
        QFETCH(double, dxLat);
        QFETCH(double, dxLonWest);
        QFETCH(int, km);
        QFETCH(int, heading);
        QFETCH(int, back);
        const Bearing b = ::greatCircle(ownLat, ownLon, dxLat, dxLonWest);
        QCOMPARE(b.distanceKm, km);
        QCOMPARE(b.heading, heading);
        QCOMPARE(b.backHeading, back);
    }

    void offsets_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<qlonglong>("seconds");
        QTest::newRow("-03 00") << -3 << 0 << -10800LL;
        QTest::newRow("-03 30") << -3 << 30 << -12600LL;
        QTest::newRow("05 30") << 5 << 30 << 19800LL;
        QTest::newRow("-05 30") << -5 << 30 << -19800LL;
        QTest::newRow("00 45") << 0 << 45 << 2700LL;
    }
    void offsets()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(qlonglong, seconds);
        QCOMPARE(utcOffsetSeconds(hours, minutes), seconds);
    }

    void otherStationTime_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<double>("timeDiff");
        QTest::addColumn<QString>("expected");
        QTest::newRow("west of UTC, back past midnight") << "01:30:01" << -3 << 0 << 2.0 << "00:30";
        QTest::newRow("half-hour offset") << "20:00:01" << 5 << 30 << 2.0 << "03:30";
        QTest::newRow("zero difference") << "12:00:00" << 0 << 0 << 0.0 << "UTC";
        QTest::newRow("negative difference") << "02:00:00" << 0 << 0 << -5.0 << "21:00";
        QTest::newRow("quarter-hour zone") << "00:00:00" << 0 << 0 << 5.75 << "05:45";
    }
    void otherStationTime()
    {
        QFETCH(QString, local);
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(double, timeDiff);
        QFETCH(QString, expected);
        const QDateTime clock(QDate(2024, 3, 1), QTime::fromString(local, u"HH:mm:ss"));
        const QDateTime utc = shiftedClock(clock, utcOffsetSeconds(hours, minutes));
        QCOMPARE(::otherStationTime(utc.time(), timeDiff), expected);
    }

    void utcClockTurnsTheDate()
    {
        const QDateTime local(QDate(2024, 3, 1), QTime(1, 30, 1));
        const QDateTime utc = shiftedClock(local, utcOffsetSeconds(-3, 0));
        QCOMPARE(utc.date(), QDate(2024, 2, 29));
        QCOMPARE(utc.time(), QTime(22, 30, 1));
    }

    void latinKeyMapInFull()
    {
        const QString cyrillic = QString::fromUtf8("абвгдезийклмнопрстуфцчшщыьюя");
        const QString latin = QStringLiteral("F/DULTPBQRKVYJGHCNEAWXIOSM/Z");
        QCOMPARE(cyrillic.size(), latin.size());
        for (int i = 0; i < cyrillic.size(); ++i) {
            QCOMPARE(latinKey(cyrillic[i]), latin[i]);
            QCOMPARE(latinKey(cyrillic[i].toUpper()), latin[i]); // Caps Lock
        }
        for (QChar unchanged : QString::fromUtf8("жхъэЖХЪЭ1aZ/"))
            QCOMPARE(latinKey(unchanged), unchanged);
    }

    void callsignPunctuation()
    {
        QCOMPARE(callsignKeys(QString::fromUtf8("гфз.,\\<>3")), QStringLiteral("UAP/////3"));
        // The table alone leaves punctuation for the call filter.
        QCOMPARE(latinKey(u'.'), QChar(u'.'));
    }
};

QTEST_GUILESS_MAIN(TestGeometryAndTime)
#include "TestGeometryAndTime.moc"
