#include "ProgramFixture.h"

#include "contest/UContest.h"
#include "core/FVihod.h"
#include "core/GlavnMod.h"
#include "core/MainClock.h"
#include "core/UConf.h"
#include "core/Unit3.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"

#include <QTimeZone>

namespace {

QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, u"dd.MM.yyyy HH:mm:ss.zzz");
}

// The clock's "now" under the test's control for as long as it lives.
class FakeClock {
public:
    explicit FakeClock(const QString &start) : now_(at(start))
    {
        previous_ = MainClock::setNow([this] { return now_; });
    }
    ~FakeClock() { MainClock::setNow(previous_); }
    FakeClock(const FakeClock &) = delete;
    FakeClock &operator=(const FakeClock &) = delete;

    void set(const QString &text) { now_ = at(text); }
    void set(const QDateTime &reading) { now_ = reading; }
    // Sets the clock and lets Timer1 tick once, with the question the tick
    // leaves for after it.
    void tick(const QString &text) { tick(at(text)); }
    void tick(const QDateTime &reading)
    {
        set(reading);
        Form3->Timer1Timer();
        QCoreApplication::sendPostedEvents(Form3, QEvent::MetaCall);
    }

private:
    QDateTime now_;
    MainClock::Now previous_;
};

// Counts the shut-down requests instead of making them.
class FakeShutdown {
public:
    FakeShutdown()
    {
        previous_ = Shell::setShutdownRequest([this] { ++requests; });
    }
    ~FakeShutdown() { Shell::setShutdownRequest(previous_); }
    FakeShutdown(const FakeShutdown &) = delete;
    FakeShutdown &operator=(const FakeShutdown &) = delete;
    int requests = 0;

private:
    Shell::ShutdownRequest previous_;
};

void setOffset(const QString &hours, const QString &minutes)
{
    Config->MaskEditT->setText(hours);
    Config->MaskEdit2T->setText(minutes);
}

void setContestStart(const QString &date, const QString &time)
{
    ContConf->DatePicker1->setDate(QDate::fromString(date, u"dd.MM.yyyy"));
    ContConf->TimePicker1->setTime(QTime::fromString(time, u"HH:mm:ss"));
}

void setContestStop(const QString &date, const QString &time)
{
    ContConf->DatePicker2->setDate(QDate::fromString(date, u"dd.MM.yyyy"));
    ContConf->TimePicker2->setTime(QTime::fromString(time, u"HH:mm:ss"));
}

void setExit(const QString &time, int item)
{
    FVihod->CheckBox1->setChecked(true);
    FVihod->DateTimePicker1->setTime(QTime::fromString(time, u"HH:mm:ss"));
    (item == 0 ? FVihod->RadioTarnel : FVihod->RadioWindows)->setChecked(true);
}

} // namespace

class TestMainClock : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { destroyWindowSet(); }

    // ---------------------------------------------------------- plain rules

    void entryStamp_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<bool>("utc");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("west, back past midnight")
            << "01.03.2024 01:30:01.000" << true << "-03" << "00" << "29.02.2024" << "22:30:01";
        QTest::newRow("west, a hair before the second")
            << "01.03.2024 01:30:00.999" << true << "-03" << "00" << "29.02.2024" << "22:30:00";
        QTest::newRow("east half hour, into the next day")
            << "31.12.2024 20:00:01.000" << true << "05" << "30" << "01.01.2025" << "01:30:01";
        QTest::newRow("minutes take the hours' sign")
            << "01.03.2024 05:30:00.000" << true << "-05" << "30" << "01.03.2024" << "00:00:00";
        QTest::newRow("UTC midnight exactly")
            << "01.03.2024 03:00:00.000" << true << "-03" << "00" << "01.03.2024" << "00:00:00";
        QTest::newRow("last second before UTC midnight")
            << "01.03.2024 02:59:59.999" << true << "-03" << "00" << "29.02.2024" << "23:59:59";
        QTest::newRow("UTC disabled shows the local clock")
            << "01.03.2024 01:30:01.000" << false << "-03" << "00" << "01.03.2024" << "01:30:01";
    }
    void entryStamp()
    {
        QFETCH(QString, local);
        QFETCH(bool, utc);
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, date);
        QFETCH(QString, time);
        std::optional<qint64> offset;
        if (utc)
            offset = MainClock::offsetSeconds(hours, minutes);
        const MainClock::EntryStamp expected{date, time};
        QCOMPARE(MainClock::entryStamp(at(local), offset), expected);
    }

    void offsetSeconds_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<bool>("parses");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("default") << "-03" << "00" << true << qint64(-3 * 3600);
        QTest::newRow("east with minutes") << "+05" << "30" << true << qint64(5 * 3600 + 1800);
        QTest::newRow("west with minutes") << "-05" << "30" << true << qint64(-5 * 3600 - 1800);
        QTest::newRow("one digit") << "-3" << "0" << true << qint64(-3 * 3600);
        QTest::newRow("mask blanks") << "-3_" << "0_" << true << qint64(-3 * 3600);
        QTest::newRow("only a sign") << "-" << "00" << false << qint64(0);
        QTest::newRow("empty hours") << "" << "00" << false << qint64(0);
        QTest::newRow("empty minutes") << "-03" << "" << false << qint64(0);
        QTest::newRow("letters") << "ab" << "00" << false << qint64(0);
        QTest::newRow("signed minutes") << "03" << "-30" << false << qint64(0);
    }
    void offsetSeconds()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(bool, parses);
        QFETCH(qint64, seconds);
        const std::optional<qint64> offset = MainClock::offsetSeconds(hours, minutes);
        QCOMPARE(offset.has_value(), parses);
        if (parses)
            QCOMPARE(*offset, seconds);
    }

    // Empty hours follow the zone of the reading itself, so a daylight-saving
    // change moves the offset; typed hours are used as they stand.
    void utcOffset_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("reading"); // Europe/Berlin wall clock
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("empty in winter") << "" << "" << "15.01.2024 12:00:00" << qint64(-3600);
        QTest::newRow("empty in summer") << "" << "" << "15.07.2024 12:00:00" << qint64(-7200);
        QTest::newRow("mask blanks only") << "__" << "_" << "15.07.2024 12:00:00" << qint64(-7200);
        QTest::newRow("empty hours, typed minutes") << "" << "30" << "15.07.2024 12:00:00" << qint64(-7200);
        QTest::newRow("typed hours, empty minutes") << "-04" << "" << "15.07.2024 12:00:00" << qint64(-4 * 3600);
        QTest::newRow("stored, whatever the season") << "-01" << "00" << "15.07.2024 12:00:00" << qint64(-3600);
    }
    void utcOffset()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, reading);
        QFETCH(qint64, seconds);
        const QDateTime local(QDate::fromString(reading.left(10), u"dd.MM.yyyy"),
                              QTime::fromString(reading.mid(11), u"HH:mm:ss"), QTimeZone("Europe/Berlin"));
        QVERIFY(local.isValid());
        QCOMPARE(MainClock::utcOffset(hours, minutes, local), std::optional<qint64>(seconds));
        // What the settings show in empty fields is that same offset.
        if (!MainClock::offsetSeconds(hours, QStringLiteral("00"))) {
            const MainClock::OffsetTexts shown = MainClock::machineOffsetTexts(local);
            QCOMPARE(MainClock::offsetSeconds(shown.hours, shown.minutes), std::optional<qint64>(seconds));
        }
    }

    // Texts of an offset read back as the same offset.
    void offsetTexts_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::newRow("UTC") << qint64(0) << "00" << "00";
        QTest::newRow("machine at UTC+3") << qint64(-3 * 3600) << "-03" << "00";
        QTest::newRow("machine at UTC-5") << qint64(5 * 3600) << "05" << "00";
        QTest::newRow("machine at UTC+5:30") << qint64(-5 * 3600 - 1800) << "-05" << "30";
        QTest::newRow("machine at UTC-9:30") << qint64(9 * 3600 + 1800) << "09" << "30";
        QTest::newRow("machine at UTC+12:45") << qint64(-12 * 3600 - 2700) << "-12" << "45";
    }
    void offsetTexts()
    {
        QFETCH(qint64, seconds);
        const MainClock::OffsetTexts texts = MainClock::offsetTexts(seconds);
        QTEST(texts.hours, "hours");
        QTEST(texts.minutes, "minutes");
        QCOMPARE(MainClock::offsetSeconds(texts.hours, texts.minutes), std::optional<qint64>(seconds));
    }

    void offsetMemoryKeepsTheLastValid()
    {
        MainClock::OffsetMemory memory;
        QCOMPARE(memory.update(std::nullopt), qint64(0));
        QCOMPARE(memory.update(-10800), qint64(-10800));
        QCOMPARE(memory.update(std::nullopt), qint64(-10800));
        QCOMPARE(memory.update(19800), qint64(19800));
    }

    void spanReached_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("set");
        QTest::addColumn<bool>("reached");
        QTest::newRow("the tick's own second")
            << "01.03.2024 11:59:59.400" << "01.03.2024 12:00:00.400" << "01.03.2024 12:00:00.000" << true;
        QTest::newRow("reached by the previous tick")
            << "01.03.2024 12:00:00.400" << "01.03.2024 12:00:01.400" << "01.03.2024 12:00:00.000" << false;
        QTest::newRow("not yet")
            << "01.03.2024 11:59:59.400" << "01.03.2024 12:00:00.400" << "01.03.2024 12:00:01.000" << false;
        QTest::newRow("inside a skipped tick")
            << "01.03.2024 11:59:58.400" << "01.03.2024 12:00:02.400" << "01.03.2024 12:00:01.000" << true;
        QTest::newRow("at the span's end")
            << "01.03.2024 11:59:59.000" << "01.03.2024 12:00:00.000" << "01.03.2024 12:00:00.000" << true;
        QTest::newRow("at the span's start")
            << "01.03.2024 12:00:00.000" << "01.03.2024 12:00:01.000" << "01.03.2024 12:00:00.000" << false;
        QTest::newRow("same time, other day")
            << "01.03.2024 11:59:59.400" << "01.03.2024 12:00:00.400" << "02.03.2024 12:00:00.000" << false;
        QTest::newRow("set milliseconds count as the second")
            << "01.03.2024 11:59:59.400" << "01.03.2024 12:00:00.400" << "01.03.2024 12:00:00.700" << true;
    }
    void spanReached()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, set);
        QFETCH(bool, reached);
        const MainClock::Span span(at(from), at(to));
        QCOMPARE(span.reached(at(set).date(), at(set).time()), reached);
    }

    void spanReachedDaily_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("set");
        QTest::addColumn<bool>("reached");
        QTest::newRow("any day") << "05.07.2025 17:59:59.600" << "05.07.2025 18:00:00.600" << "18:00:00" << true;
        QTest::newRow("not yet") << "05.07.2025 17:59:58.600" << "05.07.2025 17:59:59.600" << "18:00:00" << false;
        QTest::newRow("midnight") << "05.07.2025 23:59:59.500" << "06.07.2025 00:00:00.500" << "00:00:00" << true;
        QTest::newRow("just before midnight")
            << "05.07.2025 23:59:59.500" << "06.07.2025 00:00:00.500" << "23:59:59" << false;
        QTest::newRow("skipped tick") << "05.07.2025 17:59:58.600" << "05.07.2025 18:00:03.600" << "18:00:01"
                                      << true;
    }
    void spanReachedDaily()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, set);
        QFETCH(bool, reached);
        const MainClock::Span span(at(from), at(to));
        QCOMPARE(span.reachedDaily(QTime::fromString(set, u"HH:mm:ss")), reached);
    }

    // Every moment of the wall clock gets one turn: skipped ticks catch up,
    // a clock set back does not fire again what it had passed, a clock that
    // stood still does not fire what passed meanwhile. "reset " starts the
    // clock again at that reading.
    void aMomentFiresOnce_data()
    {
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<int>("fired");
        QTest::newRow("the tick's own second")
            << QStringList{"01.03.2024 11:59:59.400", "01.03.2024 12:00:00.400", "01.03.2024 12:00:01.400"}
            << "01.03.2024 12:00:00.000" << 1;
        QTest::newRow("a skipped tick catches up")
            << QStringList{"01.03.2024 11:59:58.400", "01.03.2024 12:00:03.400"} << "01.03.2024 12:00:01.000" << 1;
        QTest::newRow("a clock going forward catches up")
            << QStringList{"01.03.2024 11:59:58.400", "01.03.2024 13:00:00.400"} << "01.03.2024 12:30:00.000" << 1;
        QTest::newRow("set back over a fired moment")
            << QStringList{"01.03.2024 11:59:59.400", "01.03.2024 12:00:00.400", "01.03.2024 11:59:58.400",
                           "01.03.2024 11:59:59.400", "01.03.2024 12:00:00.400", "01.03.2024 12:00:01.400"}
            << "01.03.2024 12:00:00.000" << 1;
        QTest::newRow("set back, then a jump past the latest reading")
            << QStringList{"01.03.2024 11:59:59.400", "01.03.2024 12:00:00.400", "01.03.2024 11:00:00.400",
                           "01.03.2024 11:00:01.400", "01.03.2024 12:00:05.400"}
            << "01.03.2024 12:00:00.000" << 1;
        QTest::newRow("set back: a moment not yet passed fires")
            << QStringList{"01.03.2024 11:59:59.400", "01.03.2024 12:00:00.400", "01.03.2024 11:59:58.400",
                           "01.03.2024 12:00:05.400"}
            << "01.03.2024 12:00:03.000" << 1;
        QTest::newRow("set back: a moment never passed before fires")
            << QStringList{"01.03.2024 11:59:59.400", "01.03.2024 12:00:00.400", "01.03.2024 11:00:00.400",
                           "01.03.2024 11:30:00.400"}
            << "01.03.2024 11:20:00.000" << 1;
        QTest::newRow("a clock years ahead corrected")
            << QStringList{"01.03.2030 12:00:00.400", "01.03.2030 12:00:01.400", "01.03.2024 11:59:59.400",
                           "01.03.2024 12:00:00.400"}
            << "01.03.2024 12:00:00.000" << 1;
        QTest::newRow("summer time ends: the repeated hour")
            << QStringList{"27.10.2024 02:29:59.500", "27.10.2024 02:30:00.500", "27.10.2024 02:59:59.500",
                           "27.10.2024 02:00:00.500", "27.10.2024 02:30:00.500", "27.10.2024 03:00:00.500"}
            << "27.10.2024 02:30:00.000" << 1;
        QTest::newRow("stood still meanwhile")
            << QStringList{"01.03.2024 11:59:59.400", "reset 01.03.2024 12:00:05.400", "01.03.2024 12:00:06.400"}
            << "01.03.2024 12:00:02.000" << 0;
        QTest::newRow("stood still, set back, started again")
            << QStringList{"01.03.2024 11:59:59.400", "01.03.2024 12:00:00.400", "reset 01.03.2024 11:59:00.400",
                           "01.03.2024 11:59:59.400", "01.03.2024 12:00:01.400"}
            << "01.03.2024 12:00:00.000" << 1;
    }
    void aMomentFiresOnce()
    {
        QFETCH(QStringList, readings);
        QFETCH(QString, moment);
        QFETCH(int, fired);
        const QDateTime set = at(moment);
        MainClock::Reference reference;
        int fixed = 0;
        int daily = 0;
        for (const QString &reading : readings) {
            if (reading.startsWith(QLatin1String("reset "))) {
                reference.reset(at(reading.mid(6)));
                continue;
            }
            if (const std::optional<MainClock::Span> span = reference.advance(at(reading))) {
                fixed += span->reached(set.date(), set.time());
                daily += span->reachedDaily(set.time());
            }
        }
        QCOMPARE(fixed, fired);
        QCOMPARE(daily, fired);
    }

    // ---------------------------------------------------- the real window

    void entryFieldsAroundUtcMidnight_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<bool>("utc");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("-03/00") << "01.03.2024 01:30:01.000" << true << "-03" << "00" << "29.02.2024" << "22:30:01";
        QTest::newRow("+05/30") << "31.12.2024 20:00:01.000" << true << "05" << "30" << "01.01.2025" << "01:30:01";
        QTest::newRow("local") << "01.03.2024 01:30:01.000" << false << "-03" << "00" << "01.03.2024" << "01:30:01";
    }
    void entryFieldsAroundUtcMidnight()
    {
        QFETCH(QString, local);
        QFETCH(bool, utc);
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, date);
        QFETCH(QString, time);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock(local);
        createWindowSet();
        Config->CheckBoxTim->setChecked(utc);
        setOffset(hours, minutes);
        Form3->Timer1Timer();
        QCOMPARE(Form3->MaskEditDate->text(), date);
        QCOMPARE(Form3->MaskEditTime->text(), time);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void timerRunsTheClock()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock("01.03.2024 01:30:01.000");
        createWindowSet();
        QVERIFY(Form3->Timer1->isActive());
        setOffset("-03", "00"); // typing an offset stops the clock until the field is left
        Form3->Timer1->start();
        QVERIFY(QMetaObject::invokeMethod(Form3->Timer1, "timeout"));
        QCOMPARE(Form3->MaskEditTime->text(), QStringLiteral("22:30:01"));
        Form3->CheckBoxTime->setChecked(false);
        QVERIFY(!Form3->Timer1->isActive());
        Form3->CheckBoxTime->setChecked(true);
        QVERIFY(Form3->Timer1->isActive());
    }

    void badOffsetKeepsTheLastValidSilently()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock("01.03.2024 01:30:01.000");
        createWindowSet();
        setOffset("-03", "00");
        Form3->Timer1Timer();
        for (const QString &bad : {QStringLiteral("-"), QStringLiteral("x3"), QStringLiteral("+")}) {
            Config->MaskEditT->setText(bad);
            clock.tick("01.03.2024 01:30:02.000");
            QCOMPARE(Form3->MaskEditTime->text(), QStringLiteral("22:30:02"));
            QCOMPARE(Form3->MaskEditDate->text(), QStringLiteral("29.02.2024"));
        }
        QVERIFY(dialogs.shown.isEmpty());
    }

    void contestStartInASkippedTickAsksOnce_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<Ui::Answer>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("clicks");
        QTest::newRow("yes") << true << Ui::Answer::Yes << 1 << 1;
        QTest::newRow("no") << true << Ui::Answer::No << 1 << 0;
        QTest::newRow("cancel") << true << Ui::Answer::Cancel << 1 << 0;
        QTest::newRow("automatic start off") << false << Ui::Answer::Yes << 0 << 0;
    }
    void contestStartInASkippedTickAsksOnce()
    {
        QFETCH(bool, automatic);
        QFETCH(Ui::Answer, answer);
        QFETCH(int, questions);
        QFETCH(int, clicks);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        dialogs.answers = {answer};
        FakeClock clock("01.03.2024 11:59:58.400");
        createWindowSet();
        int started = 0;
        Form3->ContStart->setHandler([&] { ++started; });
        ContConf->CheckBox3->setChecked(automatic);
        setContestStart("01.03.2024", "12:00:01");
        clock.tick("01.03.2024 11:59:59.400");
        QVERIFY(dialogs.shown.isEmpty());
        clock.tick("01.03.2024 12:00:02.400"); // the ticks of 12:00:00 and 12:00:01 were skipped
        clock.tick("01.03.2024 12:00:03.400");
        clock.tick("01.03.2024 12:00:04.400");
        QCOMPARE(dialogs.questions().size(), questions);
        if (questions)
            QCOMPARE(dialogs.questions().first(), QStringLiteral("Begin Contest ?"));
        QCOMPARE(started, clicks);
    }

    // Leaving an offset field or closing the settings while the clock runs
    // must not restart it: the second before the restart would be lost.
    void settingsDoNotRestartARunningClock()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        dialogs.answers = {Ui::Answer::Yes};
        FakeClock clock("01.03.2024 11:59:59.000");
        createWindowSet();
        int started = 0;
        Form3->ContStart->setHandler([&] { ++started; });
        ContConf->CheckBox3->setChecked(true);
        setContestStart("01.03.2024", "12:00:00");
        Form3->Timer1->start();
        clock.tick("01.03.2024 11:59:59.400");
        clock.set("01.03.2024 12:00:00.300");
        Config->MaskEditTExit();
        Config->showWindow();
        Config->closeWindow();
        clock.tick("01.03.2024 12:00:01.300");
        QCOMPARE(dialogs.questions(), QStringList{"Begin Contest ?"});
        QCOMPARE(started, 1);
    }

    // With "Real" unticked (a contact typed in by hand) the settings never
    // start the clock, so the typed date and time stay.
    void settingsLeaveTheClockStoppedWithoutReal()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Form3->CheckBoxTime->setChecked(false);
        QVERIFY(!Form3->Timer1->isActive());
        Config->showWindow();
        Config->MaskEditTExit();
        Config->closeWindow();
        QVERIFY(!Form3->Timer1->isActive());
        Form3->CheckBoxTime->setChecked(true);
        QVERIFY(Form3->Timer1->isActive());
    }

    void contestStartUsesTheLocalClockNotUtc()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock("01.03.2024 11:59:59.400");
        createWindowSet();
        ContConf->CheckBox3->setChecked(true);
        setOffset("-03", "00");
        setContestStart("01.03.2024", "09:00:00"); // the UTC time of the tick below
        clock.tick("01.03.2024 12:00:00.400");
        QVERIFY(dialogs.questions().isEmpty());
        setContestStart("01.03.2024", "12:00:01");
        clock.tick("01.03.2024 12:00:01.400");
        QCOMPARE(dialogs.questions(), QStringList{QStringLiteral("Begin Contest ?")});
    }

    void contestStopUnticksAutomaticStartFirst()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        dialogs.answers = {Ui::Answer::Yes};
        FakeClock clock("01.03.2024 17:59:59.400");
        createWindowSet();
        QList<bool> automaticAtClick;
        Form3->ContStop->setHandler([&] { automaticAtClick << ContConf->CheckBox3->isChecked(); });
        ContConf->CheckBox3->setChecked(true);
        setContestStop("01.03.2024", "18:00:00");
        clock.tick("01.03.2024 18:00:00.400");
        clock.tick("01.03.2024 18:00:01.400");
        QCOMPARE(dialogs.questions(), QStringList{QStringLiteral("STOP Contest ?")});
        QCOMPARE(automaticAtClick, QList<bool>{false});
    }

    // The clock's own question is asked outside its tick, so the timer goes
    // on keeping the entry current while it is open. It is asked once; a stop
    // passed meanwhile is asked after the answer.
    void entryStaysCurrentUnderTheClocksQuestion()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        dialogs.answers = {Ui::Answer::No, Ui::Answer::No};
        FakeClock clock("01.03.2024 12:00:00.400");
        createWindowSet();
        QVERIFY(Form3->Timer1->isActive());
        Config->CheckBoxTim->setChecked(false);
        ContConf->CheckBox3->setChecked(true);
        setContestStart("01.03.2024", "12:00:01");
        setContestStop("01.03.2024", "12:00:03");
        QString whileOpen;
        dialogs.onShow = [&](const Ui::ScriptedDialogs::Shown &shown) {
            if (shown.text != QLatin1String("Begin Contest ?"))
                return;
            clock.set("01.03.2024 12:00:04.400");
            QTest::qWait(1500); // Timer1 ticks by itself meanwhile
            whileOpen = Form3->MaskEditTime->text();
        };
        clock.set("01.03.2024 12:00:01.400"); // asked by Timer1's own tick
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.questions().size(), 1, 10000);
        QCOMPARE(whileOpen, QStringLiteral("12:00:04"));
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.questions(), (QStringList{"Begin Contest ?", "STOP Contest ?"}), 10000);
        clock.set("01.03.2024 12:00:05.400");
        QTest::qWait(1200);
        QCOMPARE(dialogs.questions().size(), 2);
    }

    // A time correction sets the clock back over moments that fired: the
    // contest question and the exit do not come again; later ones still do.
    void clockSetBackFiresNothingTwice()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeShutdown shutdown;
        FakeClock clock("01.03.2024 11:59:59.400");
        createWindowSet();
        ContConf->CheckBox3->setChecked(true);
        setContestStart("01.03.2024", "12:00:00");
        setContestStop("01.03.2024", "12:00:04");
        setExit("12:00:01", 1);
        clock.tick("01.03.2024 12:00:00.400");
        clock.tick("01.03.2024 12:00:01.400");
        QCOMPARE(dialogs.questions(), QStringList{"Begin Contest ?"});
        QCOMPARE(shutdown.requests, 1);
        for (const char *t : {"11:59:30.400", "11:59:31.400", "11:59:59.400", "12:00:00.400", "12:00:01.400",
                              "12:00:02.400", "12:00:04.400"})
            clock.tick(QStringLiteral("01.03.2024 ") + QLatin1String(t));
        QCOMPARE(dialogs.questions(), (QStringList{"Begin Contest ?", "STOP Contest ?"}));
        QCOMPARE(shutdown.requests, 1);
    }

    // Empty offset fields (a first run) follow the machine's zone across a
    // daylight-saving change without being written (which would stop the
    // clock); values the operator typed are used as they stand.
    void entryTimeAcrossDaylightSaving_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QStringList>("utc"); // the readings, as UTC
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("summer time begins, empty fields")
            << "" << "" << QStringList{"31.03.2024 00:59:59", "31.03.2024 01:00:00", "31.03.2024 01:00:01"}
            << QStringList{"00:59:59", "01:00:00", "01:00:01"};
        QTest::newRow("summer time ends, empty fields")
            << "" << "" << QStringList{"27.10.2024 00:59:59", "27.10.2024 01:00:00", "27.10.2024 01:00:01"}
            << QStringList{"00:59:59", "01:00:00", "01:00:01"};
        QTest::newRow("summer time begins, typed winter offset")
            << "-01" << "00" << QStringList{"31.03.2024 00:59:59", "31.03.2024 01:00:00"}
            << QStringList{"00:59:59", "02:00:00"};
    }
    void entryTimeAcrossDaylightSaving()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QStringList, utc);
        QFETCH(QStringList, shown);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        const QTimeZone berlin("Europe/Berlin");
        QVERIFY(berlin.isValid());
        FakeClock clock("01.01.2024 12:00:00.000");
        createWindowSet();
        if (!hours.isEmpty()) {
            setOffset(hours, minutes);
            Form3->Timer1->start();
        }
        QStringList times;
        for (const QString &u : utc) {
            QDateTime at = QDateTime::fromString(u, u"dd.MM.yyyy HH:mm:ss");
            at.setTimeZone(QTimeZone::utc());
            clock.tick(at.toTimeZone(berlin));
            times << Form3->MaskEditTime->text();
            QCOMPARE(Form3->MaskEditDate->text(), u.left(10));
        }
        QCOMPARE(times, shown);
        QVERIFY(Form3->Timer1->isActive());
        QCOMPARE(Config->MaskEditT->text(), hours);
        QCOMPARE(Config->MaskEdit2T->text(), minutes);
    }

    void scheduledExit_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("shutdowns");
        QTest::newRow("close the program") << true << 0 << true << 0;
        QTest::newRow("shut down") << true << 1 << false << 1;
        QTest::newRow("not enabled") << false << 0 << false << 0;
    }
    void scheduledExit()
    {
        QFETCH(bool, enabled);
        QFETCH(int, item);
        QFETCH(bool, closed);
        QFETCH(int, shutdowns);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeShutdown shutdown;
        FakeClock clock("05.07.2025 17:59:58.600");
        createWindowSet();
        Form3->show();
        setExit("18:00:00", item);
        FVihod->CheckBox1->setChecked(enabled);
        clock.tick("05.07.2025 17:59:59.600");
        QVERIFY(Form3->isVisible());
        clock.tick("05.07.2025 18:00:01.600"); // the tick of 18:00:00 was skipped
        clock.tick("05.07.2025 18:00:02.600");
        QCOMPARE(!Form3->isVisible(), closed);
        QCOMPARE(shutdown.requests, shutdowns);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void exitComesEveryDay()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeShutdown shutdown;
        FakeClock clock("05.07.2025 17:59:59.600");
        createWindowSet();
        setExit("18:00:00", 1);
        clock.tick("05.07.2025 18:00:00.600");
        clock.tick("06.07.2025 17:59:59.600");
        QCOMPARE(shutdown.requests, 1);
        clock.tick("06.07.2025 18:00:00.600");
        QCOMPARE(shutdown.requests, 2);
    }

    // "Real" off for hours (edit mode): ticking it again fires neither the
    // exit nor the contest start that passed meanwhile.
    void nothingStaleAfterTheClockStartsAgain_data()
    {
        QTest::addColumn<bool>("byRealBox");
        QTest::newRow("Real ticked again") << true;
        QTest::newRow("timer started by the settings") << false;
    }
    void nothingStaleAfterTheClockStartsAgain()
    {
        QFETCH(bool, byRealBox);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeShutdown shutdown;
        FakeClock clock("05.07.2025 16:59:59.000");
        createWindowSet();
        setOffset("-03", "00");
        setExit("18:00:00", 1);
        ContConf->CheckBox3->setChecked(true);
        setContestStart("05.07.2025", "17:30:00");
        clock.tick("05.07.2025 17:00:00.000");
        if (byRealBox)
            Form3->CheckBoxTime->setChecked(false);
        else
            Form3->Timer1->stop();
        clock.set("05.07.2025 19:00:00.000");
        if (byRealBox)
            Form3->CheckBoxTime->setChecked(true);
        else
            Form3->Timer1->start();
        clock.tick("05.07.2025 19:00:01.000");
        QCOMPARE(shutdown.requests, 0);
        QVERIFY(dialogs.questions().isEmpty());
        QCOMPARE(Form3->MaskEditTime->text(), QStringLiteral("16:00:01"));
    }
};

QTEST_MAIN(TestMainClock)
#include "TestMainClock.moc"
