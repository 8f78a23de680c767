#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/MainClock.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/audio/FakeWaveDevice.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "station/USound.h"

#include <QtEndian>

namespace {

const QDateTime stamp(QDate(2024, 3, 1), QTime(10, 20, 30));

QByteArray storedWave()
{
    return DM->TableS.fieldByName(QStringLiteral("Sound")).asBytes();
}

// The recording's length in ms: its data size over its bytes per second.
qint64 waveMs(const QByteArray &wave)
{
    return qint64(qFromLittleEndian<quint32>(wave.constData() + 40)) * 1000 /
           qFromLittleEndian<quint32>(wave.constData() + 28);
}

} // namespace

class TestRecorder : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
    std::unique_ptr<FakeWaveDevice> device_;
    MainClock::Now previousClock_;

    QString captions() const { return Form3->ButtonRe->text() + QLatin1Char('/') + Form3->ButtonPl->text(); }
    bool recordingFileExists() const { return QFileInfo::exists(program_->path(QStringLiteral("Sound/LogS.wav"))); }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        device_ = std::make_unique<FakeWaveDevice>();
        previousClock_ = MainClock::setNow([] { return stamp; });
        createWindowSet();
    }
    void cleanup()
    {
        destroyWindowSet();
        MainClock::setNow(previousClock_);
        device_.reset();
        dialogs_.reset();
        program_.reset();
    }

    void gauge_data()
    {
        QTest::addColumn<qint64>("position");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<int>("percent");
        QTest::newRow("empty recording") << qint64(0) << qint64(0) << 0;
        QTest::newRow("half of one, to even 0") << qint64(5) << qint64(1000) << 0;
        QTest::newRow("1.5 to even 2") << qint64(15) << qint64(1000) << 2;
        QTest::newRow("2.5 to even 2") << qint64(25) << qint64(1000) << 2;
        QTest::newRow("a third") << qint64(1) << qint64(3) << 33;
        QTest::newRow("the end") << qint64(2000) << qint64(2000) << 100;
    }
    void gauge()
    {
        QFETCH(qint64, position);
        QFETCH(qint64, length);
        QFETCH(int, percent);
        QCOMPARE(Recorder::gaugePercent(position, length), percent);
    }

    // Rec, then the main window's "Save": one row with the callsign (more
    // than two characters) and the whole recording; another program's
    // "*.tmp" file stays.
    void recordAndSave_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("stored");
        QTest::newRow("three characters") << "QB1" << "QB1";
        QTest::newRow("two characters") << "QB" << "";
    }
    void recordAndSave()
    {
        QFETCH(QString, call);
        QFETCH(QString, stored);
        QFile foreign(program_->path(QStringLiteral("clust.tmp")));
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.close();
        Form3->MaskEditCall->setText(call);
        Form3->ButtonReClick();
        QCOMPARE(captions(), QStringLiteral("Abort/Save"));
        QVERIFY(Form3->Timer4->isActive());
        Form3->Timer4Timer();
        QVERIFY(Form3->Label30->isVisibleTo(Form3));
        QCOMPARE(Form3->Label30->text(), QStringLiteral("R"));
        QCOMPARE(Ui::fontColor(Form3->Label30), 255);
        Form3->Timer4Timer();
        QVERIFY(!Form3->Label30->isVisibleTo(Form3));
        device_->advance(2000);
        Form3->ButtonPlClick();
        QCOMPARE(captions(), QStringLiteral("Rec/Play"));
        QCOMPARE(DM->TableS.recordCount(), 1);
        QCOMPARE(DM->TableS.fieldByName(QStringLiteral("Callsignal")).asString(), stored);
        QCOMPARE(DM->TableS.fieldByName(QStringLiteral("DateTim")).asDateTime(), stamp);
        const QByteArray wave = storedWave();
        QVERIFY(wave.startsWith("RIFF"));
        QCOMPARE(waveMs(wave), qint64(2000));
        QVERIFY(!recordingFileExists());
        QVERIFY(QFileInfo::exists(foreign.fileName()));
        Form3->Timer4Timer();
        QVERIFY(!Form3->Timer4->isActive());
        QVERIFY(dialogs_->shown.isEmpty());
    }

    // The installer adds the template row once; without it Rec still works.
    void recordsWithoutTemplate()
    {
        ProgramDirectory::installEmptyTables(program_->path());
        DM->TableR.refresh();
        QCOMPARE(DM->TableR.recordCount(), 1);
        DM->TableR.deleteRecord();
        SoundR->ButtonRecClick();
        device_->advance(500);
        SoundR->ButtonStopClick();
        SoundR->ButtonSaveClick();
        QCOMPARE(DM->TableS.recordCount(), 1);
        QCOMPARE(waveMs(storedWave()), qint64(500));
    }

    // A failed save leaves the template in the file, not the recording:
    // the save after it stores nothing.
    void failedSaveStoresNothing()
    {
        ProgramDirectory::installEmptyTables(program_->path());
        DM->TableR.refresh();
        Form3->ButtonReClick();
        device_->advance(1000);
        device_->failingSave = true;
        Form3->ButtonPlClick();
        QCOMPARE(dialogs_->errors(), QStringList{"Cannot open the sound device fake"});
        QCOMPARE(DM->TableS.recordCount(), 0);
        QVERIFY(!recordingFileExists());
    }

    // A recording file that cannot be written (here a directory is in its
    // place), from the template or without one: the recorder stays idle.
    void unwritableFileLeavesIdle_data()
    {
        QTest::addColumn<bool>("withTemplate");
        QTest::newRow("template") << true;
        QTest::newRow("no template") << false;
    }
    void unwritableFileLeavesIdle()
    {
        QFETCH(bool, withTemplate);
        ProgramDirectory::installEmptyTables(program_->path());
        DM->TableR.refresh();
        if (!withTemplate)
            DM->TableR.deleteRecord();
        QVERIFY(QDir().mkpath(program_->path(QStringLiteral("Sound/LogS.wav/in the way"))));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, SoundR->ButtonRecClick());
        QCOMPARE(SoundR->Label1->text(), QStringLiteral("Stop"));
        QVERIFY(!SoundR->ButtonStop->isEnabled());
        QVERIFY(SoundR->ButtonPlay->isEnabled());
        QCOMPARE(captions(), QStringLiteral("Rec/Play"));
        QVERIFY(device_->events.isEmpty());
    }

    // Abort drops the recording: the save AutoSave runs afterwards stores
    // nothing, from the main window as from the player.
    void abortThenAutosave_data()
    {
        QTest::addColumn<bool>("player");
        QTest::newRow("main window") << false;
        QTest::newRow("player") << true;
    }
    void abortThenAutosave()
    {
        QFETCH(bool, player);
        Form3->MaskEditCall->setText(QStringLiteral("QB1AA"));
        Form3->ButtonReClick();
        device_->advance(1000);
        player ? SoundR->ButtonAbortClick() : Form3->ButtonReClick();
        QCOMPARE(captions(), QStringLiteral("Rec/Play"));
        QVERIFY(!recordingFileExists());
        SoundR->ButtonStopClick();
        SoundR->ButtonSaveClick();
        QCOMPARE(DM->TableS.recordCount(), 0);
    }

    // The 299th second stops the recording; the main window still shows it
    // recording until its "Save" stores it.
    void stopsOnThe299thTick()
    {
        SoundR->ButtonRecClick();
        for (int tick = 1; tick < Recorder::lastTick; ++tick) {
            device_->advance(1000);
            SoundR->Timer2Timer();
        }
        QCOMPARE(SoundR->Label1->text(), QStringLiteral("Rec"));
        QCOMPARE(SoundR->Gauge1->value(), 298);
        device_->advance(1000);
        SoundR->Timer2Timer();
        QCOMPARE(SoundR->Label1->text(), QStringLiteral("Stop"));
        QCOMPARE(device_->events, (QStringList{"record", "save"}));
        QCOMPARE(captions(), QStringLiteral("Abort/Save"));
        QVERIFY(SoundR->isRecording());
        Form3->ButtonPlClick();
        QCOMPARE(DM->TableS.recordCount(), 1);
        QCOMPARE(waveMs(storedWave()), qint64(299000));
    }

    // Play on an empty table plays nothing and shows the playing state
    // until "Abort"; with a recording the gauge follows the position.
    void play()
    {
        Form3->ButtonPlClick();
        QVERIFY(device_->events.isEmpty());
        QVERIFY(SoundR->ButtonRec->isEnabled());
        QCOMPARE(captions(), QStringLiteral("Rec/Abort"));
        Form3->ButtonPlClick();
        QCOMPARE(captions(), QStringLiteral("Rec/Play"));

        SoundR->ButtonRecClick();
        device_->advance(2000);
        SoundR->ButtonStopClick();
        SoundR->ButtonSaveClick();
        Form3->ButtonPlClick();
        QCOMPARE(device_->events.last(), QStringLiteral("play"));
        QVERIFY(SoundR->TrackBar1->isEnabled());
        device_->advance(1000);
        SoundR->Timer1Timer();
        QCOMPARE(SoundR->Gauge1->value(), 50);
        SoundR->ButtonPriorClick();
        SoundR->Timer1Timer();
        QCOMPARE(SoundR->Gauge1->value(), 0);
        Form3->ButtonPlClick();
        QCOMPARE(captions(), QStringLiteral("Rec/Play"));
    }

    void clearSoundLog_data()
    {
        QTest::addColumn<Ui::Answer>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("Yes") << Ui::Answer::Yes << 0;
        QTest::newRow("No") << Ui::Answer::No << 2;
    }
    void clearSoundLog()
    {
        QFETCH(Ui::Answer, answer);
        QFETCH(int, left);
        for (int i = 0; i < 2; ++i) {
            SoundR->ButtonRecClick();
            SoundR->ButtonStopClick();
            SoundR->ButtonSaveClick();
        }
        dialogs_->answers.push_back(answer);
        SoundR->DelClearClick();
        QCOMPARE(dialogs_->questions(), QStringList{"Clear Sound LOG ?"});
        QCOMPARE(DM->TableS.recordCount(), left);
        QVERIFY(DM->DataSourceS.isEnabled());
    }

    // "CQ" outside CW plays "Cq.wav"; the mode test is exact, and a
    // missing file gives the beep.
    void cq_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QStringList>("played");
        QTest::addColumn<int>("beeps");
        QTest::newRow("SSB") << "SSB" << true << QStringList{"Cq.wav"} << 0;
        QTest::newRow("cw, lower case") << "cw" << true << QStringList{"Cq.wav"} << 0;
        QTest::newRow("CW goes to the keyer") << "CW" << true << QStringList{} << 0;
        QTest::newRow("missing file") << "SSB" << false << QStringList{} << 1;
    }
    void cq()
    {
        QFETCH(QString, mode);
        QFETCH(bool, installed);
        QFETCH(QStringList, played);
        QFETCH(int, beeps);
        if (installed) {
            QFile cq(program_->path(QStringLiteral("Sound/Cq.wav")));
            QVERIFY(cq.open(QIODevice::WriteOnly));
            cq.write(Audio::pcm16Wave(8000, 1, {}));
        }
        int beeped = 0;
        const Audio::Beep previous = Audio::setBeep([&beeped] { ++beeped; });
        Form3->ComboBoxMode->setCurrentText(mode);
        Form3->ButtonCqClick();
        Audio::setBeep(previous);
        QCOMPARE(device_->played, played);
        QCOMPARE(beeped, beeps);
    }

    // A device that cannot record: one box while AutoSave restarts the
    // recording on each key, and the recorder stays idle.
    void deviceFailureReportedOnce()
    {
        device_->failing = true;
        Form3->SoundAutosave->setChecked(true);
        Form3->MaskEditCall->setFocus();
        QTest::keyClicks(Form3->MaskEditCall, "QB1AAA");
        QCOMPARE(dialogs_->errors(), QStringList{"Cannot open the sound device fake"});
        QCOMPARE(captions(), QStringLiteral("Rec/Play"));
        QCOMPARE(SoundR->Label1->text(), QStringLiteral("Stop"));
        QVERIFY(!SoundR->Timer2->isActive());
        QVERIFY(!SoundR->isRecording());
        QVERIFY(!recordingFileExists());
    }
};

QTEST_MAIN(TestRecorder)
#include "TestRecorder.moc"
