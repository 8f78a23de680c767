#include "ProgramFixture.h"
#include "SamplePrefixes.h"

#include "awards/BandIndicators.h"
#include "contest/UContst.h"
#include "core/GlavnMod.h"
#include "core/MainClock.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "lookups/UCallInt.h"
#include "platform/audio/WaveDevice.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"

#include <QSignalSpy>
#include <QTimeZone>

namespace {

class CountingDevice : public Audio::WaveDevice {
public:
    bool record() override
    {
        ++recordings;
        if (failing)
            throw std::runtime_error("The sound device is gone");
        return true;
    }
    int recordings = 0;
    bool failing = false;
};

// Key presses carrying any text, as a Cyrillic keyboard layout sends them.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class TestCallsignEntry : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        program_->addRows("Log/Log1", "Tarnel",
                          {{{"LogCall", "DL1XX"}, {"LogObl", "Federal Republic of Germany"}, {"LogDate", "01.01.2024"}},
                           {{"LogCall", "UR5AAA"}, {"LogObl", "Ukraine"}, {"LogDate", "02.01.2024"},
                            {"LogTime", "10:00:00"}, {"LogMode", "CW"}, {"LogBand", "14"}},
                           {{"LogCall", "UR5AAA"}, {"LogObl", "Ukraine"}, {"LogDate", "02.01.2024"},
                            {"LogTime", "12:00:00"}, {"LogMode", "SSB"}, {"LogBand", "7"}},
                           {{"LogCall", "UR5AAB"}, {"LogObl", "Ukraine"}, {"LogDate", "03.01.2024"}}});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
    }
    void cleanup()
    {
        destroyWindowSet();
        MainClock::setNow(nullptr);
        Audio::setWaveDevice(nullptr);
        QVERIFY(dialogs_->shown.isEmpty());
        dialogs_.reset();
        program_.reset();
    }

    void typingResolvesCharacterByCharacter()
    {
        Form3->MaskEditCall->setFocus();
        QTest::keyClicks(Form3->MaskEditCall, "u");
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("U"));
        QCOMPARE(Form3->LabelPref->text(), QStringLiteral("Rref")); // one character shows nothing yet
        QTest::keyClicks(Form3->MaskEditCall, "a");
        QCOMPARE(Form3->LabelPref->text(), QStringLiteral("UA1"));
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("European Russia"));
        QTest::keyClicks(Form3->MaskEditCall, "3"); // no "UA3": "UA" stays
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("European Russia"));
        QCOMPARE(Form3->Label_ZCQ->text(), QStringLiteral("16"));
        QCOMPARE(QRZ->Edit1->text(), QStringLiteral("UA3"));
        Form3->MaskEditCall->setText("UA9AB");
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("Asiatic Russia"));
        QCOMPARE(Form3->Label_ZITU->text(), QStringLiteral("30"));
        QCOMPARE(Form3->LabelCont->text(), QStringLiteral("EU"));
    }

    void callsignSetAtOnceGetsItsOwnCountry()
    {
        Form3->MaskEditCall->setText("UA9AB");
        Form3->MaskEditCall->setText("VE3ABCD");
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("Canada"));
        QCOMPARE(Form3->Label_ZCQ->text(), QStringLiteral("04"));
        QVERIFY(Form3->EntryPrefix);
        QCOMPARE(Form3->EntryPrefix->prefix, QStringLiteral("VE3"));
    }

    void unknownPrefixLeavesResetTexts()
    {
        Form3->MaskEditCall->setText("UR5AB");
        Form3->MaskEditCall->setText("9Z1AA");
        QCOMPARE(Form3->LabelPref->text(), QStringLiteral("Rref"));
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("Country"));
        QCOMPARE(Form3->Label_ZCQ->text(), QStringLiteral("00"));
        QCOMPARE(Form3->LabelDist->text(), QStringLiteral("00000"));
        QCOMPARE(Form3->LabelDiff->text(), QStringLiteral("00:00"));
        QCOMPARE(Ui::fontColor(Form3->LabelIn14), BandIndicators::grey);
        QVERIFY(!Form3->EntryPrefix);
    }

    void newCountryMarkComparesFifteenCharacters()
    {
        Form3->MaskEditCall->setText("DL1ABC");
        QCOMPARE(Ui::fontColor(Form3->Label26), BandIndicators::green);
        Form3->MaskEditCall->setText("G4ABC");
        QCOMPARE(Ui::fontColor(Form3->Label26), BandIndicators::grey);
        Form3->MaskEditCall->setText("DL1"); // three characters: no mark yet
        QCOMPARE(Ui::fontColor(Form3->Label26), BandIndicators::grey);
    }

    void distanceAndHeadingFromTheSettings()
    {
        Config->MaskEditLat->setText("50,5");
        Config->MaskEditLon->setText("30,5");
        Form3->MaskEditCall->setText("K1AB");
        QCOMPARE(Form3->LabelDist->text(), QStringLiteral("7507"));
        QCOMPARE(Form3->LabelAz->text(), QStringLiteral("307"));
        QCOMPARE(Form3->LabelAzO->text(), QStringLiteral("53"));
        // A position that does not parse leaves the reset texts, silently.
        Config->MaskEditLat->setText("x");
        Form3->MaskEditCall->setText("K1ABC");
        QCOMPARE(Form3->LabelDist->text(), QStringLiteral("00000"));
        QCOMPARE(Form3->LabelAz->text(), QStringLiteral("000"));
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("United States"));
    }

    void otherStationsLocalTime_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QByteArray>("zone"); // of the computer's clock; "" for none
        QTest::newRow("-03/00, Ukraine") << "-03" << "00" << "01:30:01" << "UR5AB" << "00:30" << QByteArray();
        QTest::newRow("+05/30, Ukraine") << "05" << "30" << "20:00:01" << "UR5AB" << "03:30" << QByteArray();
        QTest::newRow("zero difference") << "-03" << "00" << "12:00:00" << "G4ABC" << "UTC" << QByteArray();
        QTest::newRow("three characters") << "-03" << "00" << "12:00:00" << "UR5" << "00:00" << QByteArray();
        QTest::newRow("bad offset stays silent") << "-x" << "00" << "12:00:00" << "UR5AB" << "00:00" << QByteArray();
        // An hour after the clocks went forward: the offset the operator set
        // counts from the clock as it reads, like the entry time.
        QTest::newRow("after a daylight-saving change")
            << "-02" << "00" << "03:30:00" << "UR5AB" << "03:30" << QByteArray("Europe/Berlin");
    }
    void otherStationsLocalTime()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, clock);
        QFETCH(QString, call);
        QFETCH(QString, expected);
        QFETCH(QByteArray, zone);
        const QTime time = QTime::fromString(clock, u"HH:mm:ss");
        const QDateTime now = zone.isEmpty() ? QDateTime(QDate(2024, 3, 1), time)
                                             : QDateTime(QDate(2026, 3, 29), time, QTimeZone(zone));
        QVERIFY(now.isValid());
        MainClock::setNow([now] { return now; });
        Config->MaskEditT->setText(hours);
        Config->MaskEdit2T->setText(minutes);
        Form3->MaskEditCall->setText(call);
        QCOMPARE(Form3->LabelDiff->text(), expected);
    }

    void cyrillicKeysEnterOnceAsLatin()
    {
        QSignalSpy changes(Form3->MaskEditCall, &QLineEdit::textChanged);
        Form3->MaskEditCall->setFocus();
        typeText(Form3->MaskEditCall, QString::fromUtf8("гф9.Ф"));
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("UA9/A"));
        QCOMPARE(changes.count(), 5);
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("Asiatic Russia"));
    }

    void autosaveRestartsTheRecordingAboveTwoCharacters()
    {
        CountingDevice device;
        Audio::setWaveDevice(&device);
        Form3->SoundAutosave->setChecked(true);
        Form3->MaskEditCall->setFocus();
        QTest::keyClicks(Form3->MaskEditCall, "UR5ABC");
        QCOMPARE(device.recordings, 4);
    }

    // A failing recorder: one box per callsign, and the contest count after
    // it still follows every key.
    void failingRecorderReportedOncePerCallsign()
    {
        CountingDevice device;
        device.failing = true;
        Audio::setWaveDevice(&device);
        Form3->SoundAutosave->setChecked(true);
        Form3->ContStart->setChecked(true);
        Form3->OptionRep->setEnabled(false);
        Form3->MaskEditCall->setFocus();
        QTest::keyClicks(Form3->MaskEditCall, "UR5AAA");
        QCOMPARE(device.recordings, 4);
        QCOMPARE(dialogs_->errors(), QStringList{"The sound device is gone"});
        QCOMPARE(Cont->Label2->text(), QStringLiteral("2"));
        Form3->MaskEditCall->clear();
        QTest::keyClicks(Form3->MaskEditCall, "DL1");
        QCOMPARE(dialogs_->errors().size(), 2);
        dialogs_->shown.clear();
    }

    void indicatorsPerOptionAndThreshold()
    {
        Form3->MaskEditCall->setText("UR");
        QCOMPARE(Ui::fontColor(Form3->LabelIn14), BandIndicators::red);
        QCOMPARE(Ui::fontColor(Form3->Labelin7), BandIndicators::green);
        QCOMPARE(Ui::fontColor(Form3->LabelIn21), BandIndicators::grey); // mode cells never count
        // The UR option from its menu at two characters: grey.
        Form3->OptionUR->click();
        QCOMPARE(Form3->Label19->text(), QStringLiteral("Ukraine - Russia"));
        QCOMPARE(Ui::fontColor(Form3->LabelIn21), BandIndicators::grey);
        // Typing under the UR option colours at two characters.
        Form3->MaskEditCall->setText("U");
        Form3->MaskEditCall->setText("UR");
        QCOMPARE(Ui::fontColor(Form3->LabelIn21), BandIndicators::red);
        Form3->MaskEditCall->setText("UR5");
        Form3->OptionUR->click();
        QCOMPARE(Ui::fontColor(Form3->LabelIn21), BandIndicators::red);
        // WAZ by the zone shown; the context menu runs the same handler.
        Form3->WAZ1->click();
        QVERIFY(Form3->OptionWAZ->isChecked());
        QCOMPARE(Form3->Label19->text(), QStringLiteral("WAZ Mixed"));
        QCOMPARE(Ui::fontColor(Form3->LabelIn28), BandIndicators::green);
        Form3->DXCC1->click();
        QCOMPARE(Form3->Label19->text(), QStringLiteral("DXCC Mixed"));
        QCOMPARE(Ui::fontColor(Form3->LabelIn14), BandIndicators::red);
        QCOMPARE(Ui::fontColor(Form3->Label26), BandIndicators::grey);
    }

    void emptyCallOptionOnlyGreysAndChecks()
    {
        Form3->MaskEditCall->clear();
        // Colours left from elsewhere: the option must grey them itself.
        QLabel *const marks[] = {Form3->Labelin18, Form3->LabelIn14, Form3->LabelIn50, Form3->LabelInS, Form3->Label26};
        for (QLabel *mark : marks)
            Ui::setFontColor(mark, BandIndicators::red);
        Form3->OptionUR->click();
        QVERIFY(Form3->OptionUR->isChecked());
        QVERIFY(!Form3->OptionDXCC->isChecked());
        for (QLabel *mark : marks)
            QCOMPARE(Ui::fontColor(mark), BandIndicators::grey);
        QVERIFY(!Form3->EntryPrefix);
    }

    void contestShowsRepetitionsAndTheLastContact()
    {
        Form3->ContStart->setChecked(true);
        Form3->OptionRep->setEnabled(false); // a running contest disables the repetition view
        const QSize info = Form3->GroupBoxInfo->sizeHint();
        Form3->MaskEditCall->setText("UR5AA");
        QCOMPARE(Cont->Label2->text(), QStringLiteral("3"));
        QVERIFY(!Form3->LabelPw1->isVisibleTo(Form3));
        QVERIFY(Form3->LabelPw->isVisibleTo(Form3)); // Ukraine is in the log
        // The hints have their room kept: the window is not laid out anew.
        QCOMPARE(Form3->GroupBoxInfo->sizeHint(), info);
        Form3->MaskEditCall->setText("UR5AAA");
        QCOMPARE(Cont->Label2->text(), QStringLiteral("2"));
        QVERIFY(Form3->LabelPw1->isVisibleTo(Form3));
        QCOMPARE(Form3->LabelPw1->text(), QStringLiteral("Last QSO at 12:00:00 SSB 7"));
        QVERIFY(!Form3->LabelPw->isVisibleTo(Form3));
        // The grids show every callsign that begins with the text.
        QCOMPARE(DM->Table7.indexName(), QStringLiteral("ByCall"));
        QVERIFY(DM->Table7.hasRange());
        QVERIFY(DM->DataSource5.isEnabled());
        QCOMPARE(DM->Table5.fieldByName("Zone").asString(), QStringLiteral("16"));
        Form3->MaskEditCall->setText("9Z1AA");
        QVERIFY(!DM->DataSource5.isEnabled());
    }

    // The range shows every longer callsign too; the cursor stands on the
    // latest contact with exactly the typed one.
    void repetitionRangeStandsOnTheExactCall()
    {
        DM->LogLookup.append();
        DM->LogLookup.fieldByName("LogCall").setAsString("UR5AAAX");
        DM->LogLookup.fieldByName("LogDate").setAsString("04.01.2024");
        DM->LogLookup.post();
        Form3->OptionRep->setChecked(true);
        Form3->MaskEditCall->setText("UR5AAA");
        QCOMPARE(Cont->Label2->text(), QStringLiteral("3"));
        QCOMPARE(DM->Table7.fieldByName("LogCall").asString(), QStringLiteral("UR5AAA"));
        QCOMPARE(DM->Table7.fieldByName("LogTime").asString(), QStringLiteral("12:00:00"));
    }

    // The contest window's grid catches up with the typing once events run:
    // the callsigns that begin with the text, on the latest exact one.
    void contestWindowGridFollowsTheTyping()
    {
        Form3->ContStartClick();
        QVERIFY(Cont->isVisible());
        const Db::GridModel *grid = Cont->DBGrid1->gridModel();
        auto shown = [grid](int row, const QString &field) {
            for (int c = 0; c < grid->columnCount(); ++c)
                if (grid->fieldName(c) == field)
                    return grid->index(row, c).data().toString();
            return QString();
        };
        Form3->MaskEditCall->setFocus();
        const struct {
            const char *typed, *call, *time;
            int rows;
        } cases[] = {{"UR5AAA", "UR5AAA", "12:00:00", 2}, {"UR5AA", "UR5AAB", "", 3}, {"DL", "DL1XX", "", 1}};
        for (const auto &c : cases) {
            Form3->MaskEditCall->clear();
            QTest::keyClicks(Form3->MaskEditCall, c.typed);
            QCoreApplication::processEvents();
            QCOMPARE(grid->rowCount(), c.rows);
            const int row = Cont->DBGrid1->currentIndex().row();
            QCOMPARE(row, DM->Table7.recNo());
            QCOMPARE(shown(row, "LogCall"), QString(c.call));
            if (*c.time)
                QCOMPARE(shown(row, "LogTime"), QString(c.time));
        }
    }

    void repetitionViewCountsWithoutContestHints()
    {
        Form3->OptionRep->setChecked(true);
        Form3->MaskEditCall->setText("UR5AAA");
        QCOMPARE(Cont->Label2->text(), QStringLiteral("2"));
        QVERIFY(!Form3->LabelPw1->isVisibleTo(Form3));
        QVERIFY(!Form3->LabelPw->isVisibleTo(Form3));
    }

    void shortTextResetsTheStopwatch()
    {
        Form3->LabelS->setText("42");
        Form3->Timer3->start();
        Form3->TimStart->setChecked(true);
        Form3->MaskEditCall->setText("UR");
        QCOMPARE(Form3->LabelS->text(), QStringLiteral("00"));
        QVERIFY(!Form3->Timer3->isActive());
        QVERIFY(Form3->TimStopClear->isChecked());
    }

    void notepadClearedOutsideEditMode()
    {
        Form3->MemoNot->setPlainText("note");
        Form3->MaskEditCall->setText("U");
        QCOMPARE(Form3->MemoNot->toPlainText(), QString());
        Form3->MemoNot->setPlainText("note");
        Form3->ButtonEdit->setText("Esc");
        Form3->MaskEditCall->setText("UR");
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("note"));
    }

private:
    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
};

QTEST_MAIN(TestCallsignEntry)
#include "TestCallsignEntry.moc"
