#include "ProgramFixture.h"

#include "contest/UContest.h"
#include "core/FVihod.h"
#include "core/GlavnMod.h"
#include "core/MainClock.h"
#include "core/UConf.h"
#include "core/Unit3.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"

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
    // Sets the clock and lets Timer1 tick once.
    void tick(const QString &text)
    {
        set(text);
        Form3->Timer1Timer();
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

    void referenceGivesTheSpanSinceThePreviousTick()
    {
        MainClock::Reference reference;
        QVERIFY(!reference.advance(at("01.03.2024 12:00:00.000")));
        auto span = reference.advance(at("01.03.2024 12:00:01.000"));
        QVERIFY(span);
        QVERIFY(span->reached(QDate(2024, 3, 1), QTime(12, 0, 1)));
        QVERIFY(!span->reached(QDate(2024, 3, 1), QTime(12, 0, 0)));
        // A clock set back fires nothing and counts on from there.
        QVERIFY(!reference.advance(at("01.03.2024 11:00:00.000")));
        span = reference.advance(at("01.03.2024 11:00:01.000"));
        QVERIFY(span && span->reached(QDate(2024, 3, 1), QTime(11, 0, 1)));
        reference.reset(at("01.03.2024 13:00:00.000"));
        span = reference.advance(at("01.03.2024 13:00:01.000"));
        QVERIFY(span && !span->reached(QDate(2024, 3, 1), QTime(12, 0, 0)));
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
        for (const QString &bad : {QStringLiteral("-"), QStringLiteral("x3"), QString()}) {
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

    // Ticks while the question is open keep the entry current and ask
    // nothing; the stop they passed is asked after the answer.
    void openQuestionIsNotAskedTwice()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        dialogs.answers = {Ui::Answer::No, Ui::Answer::No};
        FakeClock clock("01.03.2024 12:00:00.400");
        createWindowSet();
        Config->CheckBoxTim->setChecked(false);
        ContConf->CheckBox3->setChecked(true);
        setContestStart("01.03.2024", "12:00:01");
        setContestStop("01.03.2024", "12:00:03");
        QStringList timesWhileOpen;
        dialogs.onShow = [&](const Ui::ScriptedDialogs::Shown &shown) {
            if (shown.text != QLatin1String("Begin Contest ?"))
                return;
            for (const QString &t : {QStringLiteral("12:00:02.400"), QStringLiteral("12:00:03.400"),
                                     QStringLiteral("12:00:04.400")}) {
                clock.tick(QStringLiteral("01.03.2024 ") + t);
                timesWhileOpen << Form3->MaskEditTime->text();
            }
        };
        clock.tick("01.03.2024 12:00:01.400");
        QCOMPARE(dialogs.questions(), QStringList{QStringLiteral("Begin Contest ?")});
        QCOMPARE(timesWhileOpen, (QStringList{"12:00:02", "12:00:03", "12:00:04"}));
        clock.tick("01.03.2024 12:00:05.400");
        QCOMPARE(dialogs.questions(), (QStringList{"Begin Contest ?", "STOP Contest ?"}));
        clock.tick("01.03.2024 12:00:06.400");
        QCOMPARE(dialogs.questions().size(), 2);
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
