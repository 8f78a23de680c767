#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "core/MainClock.h"
#include "platform/audio/FakeWaveDevice.h"
#include "platform/ui/Dialogs.h"
#include "utilities/AlarmFile.h"
#include "utilities/TimedRecording.h"
#include "utilities/UTimer.h"

namespace {

QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QTime t(const char *text)
{
    return QTime::fromString(QString::fromLatin1(text), QStringLiteral("HH:mm:ss"));
}

class FakeClock {
public:
    explicit FakeClock(const QString &start) : now_(at(start))
    {
        previous_ = MainClock::setNow([this] { return now_; });
    }
    ~FakeClock() { MainClock::setNow(previous_); }
    FakeClock(const FakeClock &) = delete;
    FakeClock &operator=(const FakeClock &) = delete;
    void set(const QDateTime &now) { now_ = now; }
    QDateTime now() const { return now_; }

private:
    QDateTime now_;
    MainClock::Now previous_;
};

// Writes down what the timer does to the recorder, and when.
class FakeRecorder : public TimedRecording::Recorder {
public:
    bool recording() const override { return timerRecording || operatorRecording; }
    void start() override
    {
        timerRecording = true;
        events << now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" rec");
    }
    void stopAndSave() override
    {
        timerRecording = false;
        events << now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" save");
    }
    QDateTime now;
    bool timerRecording = false;
    bool operatorRecording = false;
    QStringList events;
};

struct Plan {
    TimedRecording::Page page;
    TimedRecording::SeriesRun run;
};

Plan single(const char *start, int minutes)
{
    Plan p;
    p.page.singles[0] = {true, QDate(2024, 3, 1), t(start), minutes};
    return p;
}

Plan series(const char *start, int minutes, int interval, int count)
{
    Plan p;
    p.page.series = {true, minutes, interval};
    p.run = {t(start), count};
    return p;
}

} // namespace

Q_DECLARE_METATYPE(Plan)

class TestAlarms : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { destroyWindowSet(); }

    // The recorder's clicks, ticking every second (or every 7 s, late ticks).
    void recordings_data()
    {
        QTest::addColumn<Plan>("plan");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("operatorUntil");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("seriesArmed");
        const QString day = QStringLiteral("01.03.2024 ");
        QTest::newRow("single 1 min") << single("10:00:00", 1) << day + "09:59:58" << day + "10:03:00" << 1 << QString()
                                      << QStringList{"10:00:00 rec", "10:01:00 save"} << false;
        QTest::newRow("single, late ticks") << single("10:00:00", 1) << day + "09:59:58" << day + "10:03:00" << 7
                                            << QString() << QStringList{"10:00:05 rec", "10:01:01 save"} << false;
        QTest::newRow("3 x 1 min every 5") << series("10:00:00", 1, 5, 3) << day + "09:59:58" << day + "10:30:00" << 1
                                           << QString()
                                           << QStringList{"10:00:00 rec", "10:01:00 save", "10:05:00 rec",
                                                          "10:06:00 save", "10:10:00 rec", "10:11:00 save"}
                                           << false;
        QTest::newRow("5 min every 5") << series("10:00:00", 5, 5, 2) << day + "09:59:58" << day + "10:30:00" << 1
                                       << QString()
                                       << QStringList{"10:00:00 rec", "10:05:00 save", "10:05:00 rec", "10:10:00 save"}
                                       << false;
        QTest::newRow("operator's recording, single") << single("10:00:00", 1) << day + "09:59:58" << day + "10:03:00"
                                                      << 1 << day + "10:00:30" << QStringList{} << false;
        QTest::newRow("operator's recording, series counts")
            << series("10:00:00", 1, 5, 2) << day + "09:59:58" << day + "10:30:00" << 1 << day + "10:00:30"
            << QStringList{"10:05:00 rec", "10:06:00 save"} << false;
        QTest::newRow("across midnight") << single("23:59:30", 1) << day + "23:59:28" << "02.03.2024 00:03:00" << 1
                                         << QString() << QStringList{"23:59:30 rec", "00:00:30 save"} << false;
    }
    void recordings()
    {
        QFETCH(Plan, plan);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, step);
        QFETCH(QString, operatorUntil);
        QFETCH(QStringList, events);
        QFETCH(bool, seriesArmed);
        TimedRecording::Machine machine;
        FakeRecorder recorder;
        MainClock::Reference reference;
        reference.reset(at(from));
        for (QDateTime now = at(from).addSecs(step); now <= at(to); now = now.addSecs(step)) {
            recorder.now = now;
            recorder.operatorRecording = !operatorUntil.isEmpty() && now < at(operatorUntil);
            machine.tick(*reference.advance(now), now, plan.page, plan.run, recorder);
        }
        QCOMPARE(recorder.events, events);
        QCOMPARE(plan.page.series.armed, seriesArmed);
    }

    // "Snd.ini" in any order, later lines winning, other lines ignored.
    void alarmFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("problem");
        QTest::newRow("as written") << "[Alarm]\r\nCheck1=True\r\nAlDate1=05.06.2024\r\nAlTime1=07:08:09\r\n"
                                    << "05.06.2024 07:08:09 True" << false;
        QTest::newRow("any order, extra lines") << "AlTime1=07:08:09\nx=1\n[Other]\nAlDate1=05.06.2024\nCheck1=True\n"
                                                << "05.06.2024 07:08:09 True" << false;
        QTest::newRow("later wins, odd check ignored")
            << "Check1=True\nAlDate1=01.01.2024\nAlDate1=05.06.2024\nCheck1=yes\nAlTime1=07:08:09\n"
            << "05.06.2024 07:08:09 True" << false;
        QTest::newRow("bad date leaves it") << "AlDate1=June\nAlTime1=07:08:09\nCheck1=True\n"
                                            << "31.12.2023 07:08:09 True" << true;
    }
    void alarmFile()
    {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(bool, problem);
        AlarmFile::Alarms before;
        before.fill({QDate(2023, 12, 31), QTime(0, 0), false});
        const AlarmFile::Reading r = AlarmFile::parse(text, before);
        const AlarmFile::Alarm &a = r.alarms[0];
        QCOMPARE(a.date.toString(QStringLiteral("dd.MM.yyyy ")) + a.time.toString(QStringLiteral("HH:mm:ss ")) + (a.armed ? "True" : "False"), first);
        QCOMPARE(r.alarms[1], before[1]);
        QCOMPARE(!r.problem.isEmpty(), problem);
        QCOMPARE(AlarmFile::parse(QString::fromUtf8(AlarmFile::compose(r.alarms)), {}).alarms, r.alarms);
        QCOMPARE(AlarmFile::compose(r.alarms).count("\r\n"), 10);
    }

    // Saved armed: a past alarm is disarmed at start, one still to come
    // rings after the restart, once, and Timer1 stops after the last.
    void windowAlarmAcrossRestart()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock(QStringLiteral("01.03.2024 09:00:00"));
        FakeWaveDevice device;
        createWindowSet();
        QVERIFY(!FoTimer->Timer1->isActive());
        FoTimer->PickerDA[0]->setDate(QDate(2024, 2, 29));
        FoTimer->PickerTA[0]->setTime(t("12:00:00"));
        FoTimer->CheckBoxA[0]->setChecked(true);
        FoTimer->PickerDA[1]->setDate(QDate(2024, 3, 1));
        FoTimer->PickerTA[1]->setTime(t("10:00:00"));
        FoTimer->CheckBoxA[1]->setChecked(true);
        QVERIFY(FoTimer->Timer1->isActive());
        FoTimer->ButtonSClick();
        destroyWindowSet();

        createWindowSet();
        QVERIFY(!FoTimer->CheckBoxA[0]->isChecked());
        QVERIFY(FoTimer->CheckBoxA[1]->isChecked());
        QVERIFY(FoTimer->Timer1->isActive());
        for (const char *now : {"09:59:59", "10:00:00", "10:00:01"}) {
            clock.set(at(QStringLiteral("01.03.2024 ") + now));
            FoTimer->Timer1Timer();
        }
        QCOMPARE(device.played, QStringList{"Alarm.wav"});
        QVERIFY(!FoTimer->CheckBoxA[1]->isChecked());
        QVERIFY(!FoTimer->Timer1->isActive());
        QVERIFY(dialogs.shown.isEmpty());
    }

    // Without a sound device the alarm says so when it rings, in a box that
    // leaves the keyboard in the entry: no message box to take a save's Enter.
    void windowAlarmWithoutSoundDevice()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeClock clock(QStringLiteral("01.03.2024 09:59:59"));
        FakeWaveDevice device;
        device.failing = true;
        createWindowSet();
        Form3->showWindow();
        FoTimer->PickerDA[0]->setDate(QDate(2024, 3, 1));
        FoTimer->PickerTA[0]->setTime(t("10:00:00"));
        FoTimer->CheckBoxA[0]->setChecked(true);
        for (const char *now : {"09:59:59", "10:00:00"}) {
            clock.set(at(QStringLiteral("01.03.2024 ") + now));
            QVERIFY(QMetaObject::invokeMethod(FoTimer->Timer1, "timeout"));
        }
        QVERIFY(FoTimer->SoundFailure->isVisible());
        QCOMPARE(FoTimer->SoundFailure->text()->text(), QStringLiteral("Cannot open the sound device fake"));
        // Offscreen every window shown is activated; a window manager
        // honours this and leaves the keyboard in the entry.
        QVERIFY(FoTimer->SoundFailure->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(!FoTimer->CheckBoxA[0]->isChecked());
    }

    // The page drives the recorder; the series runs from the settings in
    // force at the close, and "Save" works on the Alarm page only.
    void windowRecordings()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeWaveDevice device;
        FakeClock clock(QStringLiteral("01.03.2024 09:59:58"));
        createWindowSet();
        FoTimer->showPage(TFoTimer::TimeRecPage);
        QVERIFY(!FoTimer->ButtonS->isEnabled());
        FoTimer->PickerTT4->setTime(t("10:00:00"));
        FoTimer->SpinEdit5->setValue(2);
        FoTimer->CheckBoxR[3]->setChecked(true);
        QVERIFY(FoTimer->Timer2->isActive());
        FoTimer->ButtonCClick();
        QCOMPARE(FoTimer->Edit1->text(), QStringLiteral("2"));
        FoTimer->SpinEdit5->setValue(9); // not in force until the next close
        QStringList seen;
        for (QDateTime now = at(QStringLiteral("01.03.2024 09:59:59")); now <= at(QStringLiteral("01.03.2024 12:00:00"));
             now = now.addSecs(1)) {
            clock.set(now);
            device.events.clear();
            FoTimer->Timer2Timer();
            if (!device.events.isEmpty())
                seen << now.toString(QStringLiteral("HH:mm:ss ")) + device.events.join(QLatin1Char(','));
        }
        QCOMPARE(seen, (QStringList{"10:00:00 record", "10:01:00 save", "11:00:00 record", "11:01:00 save"}));
        QCOMPARE(DM->TableS.recordCount(), 2);
        QVERIFY(!FoTimer->CheckBoxR[3]->isChecked());
        QVERIFY(!FoTimer->Timer2->isActive());
        FoTimer->showPage(TFoTimer::AlarmPage);
        QVERIFY(FoTimer->ButtonS->isEnabled());
    }

    // The operator records through the main window across a timed single:
    // its start is skipped and its stop leaves the operator's save alone.
    void windowTimedStartLeavesOperatorsRecording()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        FakeWaveDevice device;
        FakeClock clock(QStringLiteral("01.03.2024 09:59:58"));
        createWindowSet();
        FoTimer->PickerTT[0]->setDate(QDate(2024, 3, 1));
        FoTimer->PickerTD[0]->setTime(t("10:00:00"));
        FoTimer->CheckBoxR[0]->setChecked(true);
        QStringList seen;
        for (QDateTime now = at(QStringLiteral("01.03.2024 09:59:59")); now <= at(QStringLiteral("01.03.2024 10:02:00"));
             now = now.addSecs(1)) {
            clock.set(now);
            device.events.clear();
            FoTimer->Timer2Timer();
            if (now.time() == t("09:59:59"))
                Form3->ButtonReClick();
            if (now.time() == t("10:00:30"))
                Form3->ButtonPlClick();
            if (!device.events.isEmpty())
                seen << now.toString(QStringLiteral("HH:mm:ss ")) + device.events.join(QLatin1Char(','));
        }
        QCOMPARE(seen, (QStringList{"09:59:59 record", "10:00:30 save"}));
        QCOMPARE(DM->TableS.recordCount(), 1);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void alarmWaveIsValid()
    {
        const QByteArray wave = AlarmFile::alarmWave();
        QVERIFY(wave.startsWith("RIFF"));
        QCOMPARE(wave.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint32>(wave.constData() + 4), quint32(wave.size() - 8));
    }
};

QTEST_MAIN(TestAlarms)
#include "TestAlarms.moc"
