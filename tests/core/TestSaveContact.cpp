#include "ProgramFixture.h"
#include "SamplePrefixes.h"

#include "awards/FIota.h"
#include "awards/FWas.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "core/ContactSave.h"
#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/audio/WaveDevice.h"
#include "platform/ui/Dialogs.h"

#include <sqlite3.h>

namespace {

// A second, plain SQLite connection to a table file, as another program would
// have it: used to make the next insert fail.
void runSql(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QString logField(const char *field)
{
    return DM->Table1.fieldByName(QString::fromLatin1(field)).asString();
}

// The award cell of `key` in `table`, read through a cursor of its own.
QString awardCell(const char *table, const QString &key, const char *cell)
{
    Db::Table t(&DM->Database4, QString::fromLatin1(table));
    t.open();
    if (!t.locate(QString::fromLatin1(table) == QLatin1String("Waz") ? "Zone" : "Prefix", key))
        return QStringLiteral("<no row>");
    return t.fieldByName(QString::fromLatin1(cell)).asString();
}

} // namespace

class TestSaveContact : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    void enter(const QString &call, const QString &band = "14", const QString &mode = "SSB")
    {
        Form3->MaskEditCall->setText(call);
        Form3->ComboBoxBand->setCurrentText(band);
        Form3->ComboBoxMode->setCurrentText(mode);
    }

private slots:
    // ---- rules without a window
    void sentNumbers_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("next");
        QTest::newRow("009") << "009" << "1" << "010";
        QTest::newRow("099") << "099" << "1" << "100";
        QTest::newRow("999") << "999" << "1" << "1000";
        QTest::newRow("one digit") << "6" << "1" << "007";
        QTest::newRow("two digits") << "2" << "10" << "012";
        QTest::newRow("sent not a number") << "A01" << "1" << "";
        QTest::newRow("step not a number") << "001" << "" << "";
    }
    void sentNumbers()
    {
        QFETCH(QString, sent);
        QFETCH(QString, step);
        QFETCH(QString, next);
        QCOMPARE(ContactSave::nextSentNumber(sent, step).value_or(QString()), next);
    }

    void pointFields_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("field");
        QTest::newRow("18 MHz SSB") << "18" << "SSB" << "Point180s";
        QTest::newRow("1.8 MHz CW") << "1.8" << "CW" << "Point18";
        QTest::newRow("144 FM") << "144" << "FM" << "Point144o";
        QTest::newRow("satellite RTTY") << "Satellite" << "RTTY" << "PointSatr";
        QTest::newRow("lower-case cw") << "7" << "cw" << "Point7o";
        QTest::newRow("unknown band") << "7100.0" << "CW" << "";
    }
    void pointFields()
    {
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(QString, field);
        QCOMPARE(ContactSave::pointFieldName(band, mode).value_or(QString()), field);
    }

    void pointsAndTotals()
    {
        QCOMPARE(ContactSave::contestPoints(2, "3"), std::optional<QString>("6"));
        QCOMPARE(ContactSave::contestPoints(3, "0,5"), std::optional<QString>("1,5"));
        QCOMPARE(ContactSave::contestPoints(1, "x"), std::nullopt);
        QCOMPARE(ContactSave::addPoints("10", "1,5"), QStringLiteral("11,5"));
        QCOMPARE(ContactSave::addPoints("", "3"), QStringLiteral("3"));
    }

    // ---- through the main window
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->MaskEditDate->setText("08.12.2026");
        Form3->MaskEditTime->setText("20:00:00");
        Form3->Timer1->stop(); // the entry date and time stay as set
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    void checksStopTheSave_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("message");
        QTest::newRow("two characters") << "UR" << "59" << "59" << "Not Callsign";
        QTest::newRow("no received report") << "UR5AB" << "" << "59" << "Not RST Rx";
        QTest::newRow("no sent report") << "UR5AB" << "59" << "" << "Not RST Tx";
        QTest::newRow("three characters save") << "UR5" << "59" << "59" << "";
    }
    void checksStopTheSave()
    {
        QFETCH(QString, call);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(QString, message);
        Form3->MaskEditRstTx->setFocus(); // somewhere else first
        enter(call);
        Form3->MaskEditRstRx->setText(rx);
        Form3->MaskEditRstTx->setText(tx);
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), message.isEmpty() ? 1 : 0);
        QCOMPARE(dialogs_->warnings(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(Form3->MaskEditCall->text(), message.isEmpty() ? QString() : call);
        QCOMPARE(Form3->Label24->text(), QStringLiteral("Save"));
        if (message == QLatin1String("Not Callsign"))
            QCOMPARE(Form3->focusWidget(), static_cast<QWidget *>(Form3->MaskEditCall));
    }

    void aContactIsStoredMarkedAndCleared()
    {
        enter("UR5ABC", "14", "CW");
        Form3->MaskEditName->setText("*");
        Form3->MaskEditQth->setText("Kyiv");
        Form3->MaskEditQslRx->setText("Yes");
        Form3->MemoNot->setPlainText("first QSO");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(logField("LogCall"), QStringLiteral("UR5ABC"));
        QCOMPARE(logField("LogPref"), QStringLiteral("UR"));
        QCOMPARE(logField("LogObl"), QStringLiteral("Ukraine"));
        QCOMPARE(logField("LogDate"), QStringLiteral("08.12.2026"));
        QCOMPARE(logField("LogTime"), QStringLiteral("20:00:00"));
        QCOMPARE(logField("LogName"), QString());
        QCOMPARE(logField("LogQth"), QStringLiteral("Kyiv"));
        QCOMPARE(logField("LogNotepad"), QStringLiteral("first QSO"));
        QCOMPARE(logField("Log2"), QString());
        QCOMPARE(logField("Log3"), QString());
        QCOMPARE(logField("Log4"), QStringLiteral("0"));
        QCOMPARE(awardCell("Dxcc", "UR", "B14Cw"), QStringLiteral("cfm"));
        QCOMPARE(awardCell("UR", "UR", "B14"), QStringLiteral("cfm"));
        QCOMPARE(awardCell("Dxcc", "UR", "QslRcvd"), QStringLiteral("Yes"));
        QCOMPARE(awardCell("Waz", "16", "B14CW"), QStringLiteral("cfm"));
        QCOMPARE(Form3->MaskEditCall->text(), QString());
        QCOMPARE(Form3->MaskEditQth->text(), QString());
        QCOMPARE(Form3->MaskEditQslRx->text(), QString());
        QCOMPARE(Form3->MaskEditRstRx->text(), QStringLiteral("59"));
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("Country"));
        QCOMPARE(Form3->Total->text(), QStringLiteral("1"));
        QCOMPARE(Form3->Label35->text(), QStringLiteral("Ukraine"));
        QVERIFY(DM->DataSource1.isEnabled());
    }

    // Values pasted, handed over from a spot or set from a file enter the log
    // as one line; the notepad keeps its lines and tabs.
    void valuesFromOutsideAreOneLine_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("name");
        QTest::newRow("pasted call") << "paste" << "K1ABC\r\nEND-OF" << "K1ABC  END-OF" << "";
        QTest::newRow("spot with a tab") << "spot" << "UR5\tAAA" << "UR5 AAA" << "";
        QTest::newRow("name with a lone CR") << "name" << "Ru\rzu" << "UR5ABC" << "Ru zu";
    }
    void valuesFromOutsideAreOneLine()
    {
        QFETCH(QString, source);
        QFETCH(QString, value);
        QFETCH(QString, call);
        QFETCH(QString, name);
        enter("UR5ABC", "14", "CW");
        if (source == "paste") {
            Form3->MaskEditCall->clear();
            Form3->MaskEditCall->insert(value);
        } else if (source == "spot") {
            Form3->MaskEditCall->clear();
            Form3->takeSpot("14", value, "14025.0");
        } else {
            Form3->MaskEditName->setText(value);
        }
        QCOMPARE(Form3->MaskEditCall->text(), call);
        Form3->MemoNot->setPlainText("VIA QB2BB\nbureau\tthanks");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(logField("LogCall"), call);
        QCOMPARE(logField("LogName"), name);
        QCOMPARE(logField("LogNotepad"), QStringLiteral("VIA QB2BB\nbureau\tthanks"));
    }

    void band144MarksNothing()
    {
        enter("DL1ABC", "144", "FM");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(awardCell("Dxcc", "DL", "B14"), QString()); // the row is added, empty
        QCOMPARE(awardCell("Waz", "14", "B14"), QString());
    }

    void unresolvedCallStoresNoCountryAndMarksNothing()
    {
        enter("UR5ABC");
        enter("9Z1ABC");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(logField("LogPref"), QString());
        QCOMPARE(logField("LogObl"), QString());
        QCOMPARE(awardCell("Dxcc", "UR", "B14Ssb"), QString());
        Db::Table dxcc(&DM->Database4, "Dxcc");
        dxcc.open();
        QCOMPARE(dxcc.recordCount(), 1);
    }

    void iotaReferenceWinsOverWas()
    {
        FIota->Edit1->setText("EU");
        FIota->Edit2->setText("038");
        FIota->Edit3->setText("Rugen");
        FWas->Edit1->setText("TX");
        enter("DL1ABC");
        Form3->ButtonSaveClick();
        QCOMPARE(logField("LogOther"), QStringLiteral("iEU-038oRugen"));
        QCOMPARE(FIota->Edit1->text(), QStringLiteral("EU")); // windows keep their text
    }

    void contestNumbersAndPoints_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("points");
        QTest::newRow("SSB on 18, factor 2") << "18" << "SSB" << "Point180s" << "5" << "10";
        QTest::newRow("FM on 144") << "144" << "FM" << "Point144o" << "1,5" << "3";
        QTest::newRow("a band without points") << "7100.0" << "CW" << "" << "" << "0";
    }
    void contestNumbersAndPoints()
    {
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, points);
        Form3->ContStart->setChecked(true);
        ContConf->SPoint->setValue(2);
        ContConf->CheckBoxSen->setChecked(true);
        if (!field.isEmpty())
            ContConf->point(field)->setText(value);
        Form3->EditNmTx->setText("099");
        Form3->EditNmRx->setText("123");
        enter("DL1ABC", band, mode);
        // After the band change, which recounts the total from the log.
        Cont->Label5->setText("7");
        Form3->ButtonSaveClick();
        QCOMPARE(logField("Log2"), QStringLiteral("123"));
        QCOMPARE(logField("Log3"), QStringLiteral("099"));
        QCOMPARE(logField("Log4"), points);
        QCOMPARE(Form3->EditNmTx->text(), QStringLiteral("100"));
        QCOMPARE(Cont->Label5->text(), ContactSave::addPoints("7", points));
    }

    void pointsThatAreNoNumberSaveNothing()
    {
        Form3->ContStart->setChecked(true);
        ContConf->CheckBoxSen->setChecked(true);
        ContConf->point("Point14s")->setText("many");
        Form3->EditNmTx->setText("005");
        enter("DL1ABC");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 0);
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(Form3->EditNmTx->text(), QStringLiteral("005"));
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("DL1ABC"));
        QCOMPARE(DM->Table1.state(), Db::Table::State::Browse);
        QVERIFY(DM->DataSource1.isEnabled());
        QCOMPARE(Form3->Label24->text(), QStringLiteral("Save"));
    }

    // The log refuses the row (as a full disk or a locked file would): nothing
    // is stored or marked, and the window can save again once it is fixed.
    void failedPostLeavesLogAndAwardsUnchanged()
    {
        runSql(program_->path("Log/Log1/Tarnel.db"),
               "CREATE TRIGGER refuse BEFORE INSERT ON Tarnel BEGIN SELECT RAISE(ABORT, 'refused'); END");
        enter("UR5ABC");
        Form3->ButtonSaveClick();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(DM->Table1.recordCount(), 0);
        QCOMPARE(awardCell("Dxcc", "UR", "B14Ssb"), QString());
        QCOMPARE(DM->Table1.state(), Db::Table::State::Browse);
        QVERIFY(DM->DataSource1.isEnabled());
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("UR5ABC"));
        runSql(program_->path("Log/Log1/Tarnel.db"), "DROP TRIGGER refuse");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(awardCell("Dxcc", "UR", "B14Ssb"), QStringLiteral("wkd"));
    }

    // The recorder fails once the contact is in the log: reported, and the
    // entry is still cleared, so a second "Save" cannot log it twice.
    void failingRecorderAfterThePostLogsTheContactOnce()
    {
        struct FailingStop : Audio::WaveDevice {
            void stop() override { throw std::runtime_error("The sound device is gone"); }
        } device;
        Audio::setWaveDevice(&device);
        Form3->SoundAutosave->setChecked(true);
        enter("UR5ABC");
        Form3->ButtonSaveClick();
        Audio::setWaveDevice(nullptr);
        QCOMPARE(dialogs_->errors(), QStringList{"The sound device is gone"});
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(awardCell("Dxcc", "UR", "B14Ssb"), QStringLiteral("wkd"));
        QCOMPARE(Form3->MaskEditCall->text(), QString());
        QVERIFY(DM->DataSource1.isEnabled());
        QCOMPARE(logField("LogCall"), QStringLiteral("UR5ABC"));
        dialogs_->shown.clear();
        Form3->ButtonSaveClick();
        QCOMPARE(dialogs_->warnings(), QStringList{"Not Callsign"});
        QCOMPARE(DM->Table1.recordCount(), 1);
    }

    void editModeRewritesOnlyTheLoadedContact()
    {
        Form3->ContStart->setChecked(true);
        enter("UR5ABC");
        Form3->EditNmTx->setText("010");
        Form3->ButtonSaveClick();
        Form3->ContStart->setChecked(false);
        Form3->ContStop->setChecked(true);
        enter("DL1ABC");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 2);
        // Take the first contact, then let the grid move on to the other one.
        QVERIFY(DM->Table1.locate("LogCall", "UR5ABC"));
        Form3->ButtonEditClick();
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Esc"));
        QVERIFY(!Form3->CheckBoxTime->isChecked());
        QVERIFY(!Form3->CheckBoxTime->isEnabled());
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("UR5ABC"));
        QCOMPARE(Form3->LabelCount->text(), QStringLiteral("Ukraine"));
        Form3->MemoNot->setPlainText("being edited");
        DM->Table1.last(); // browsing while editing copies nothing in
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("being edited"));
        QVERIFY(Form3->Edit2->isHidden());
        Form3->MaskEditName->setText("Ivan");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 2);
        QVERIFY(DM->Table1.locate("LogCall", "UR5ABC"));
        QCOMPARE(logField("LogName"), QStringLiteral("Ivan"));
        QCOMPARE(logField("LogNotepad"), QStringLiteral("being edited"));
        QCOMPARE(logField("LogObl"), QStringLiteral("Ukraine"));
        QCOMPARE(logField("Log3"), QStringLiteral("010")); // its contest data stays
        QCOMPARE(logField("Log4"), QStringLiteral("1"));
        QVERIFY(DM->Table1.locate("LogCall", "DL1ABC"));
        QCOMPARE(logField("LogName"), QString());
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Edit"));
        QVERIFY(Form3->CheckBoxTime->isChecked());
        QVERIFY(Form3->CheckBoxTime->isEnabled());
    }

    void retypedCallInEditModeTakesItsNewCountry()
    {
        enter("UR5ABC");
        Form3->ButtonSaveClick();
        Form3->ButtonEditClick();
        Form3->MaskEditCall->setText("9Z1AA");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(logField("LogCall"), QStringLiteral("9Z1AA"));
        QCOMPARE(logField("LogObl"), QString()); // never the reset caption
    }

    void failedCheckKeepsEditMode()
    {
        enter("UR5ABC");
        Form3->ButtonSaveClick();
        Form3->ButtonEditClick();
        Form3->MaskEditRstRx->clear();
        Form3->ButtonSaveClick();
        QCOMPARE(dialogs_->warnings(), QStringList{"Not RST Rx"});
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Esc"));
        QVERIFY(!Form3->CheckBoxTime->isChecked());
        QVERIFY(Form3->Edit3->isHidden());
        // Leaving edit mode by its button gives the clock back.
        Form3->ButtonEditClick();
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Edit"));
        QVERIFY(Form3->CheckBoxTime->isChecked());
        QCOMPARE(Form3->MaskEditCall->text(), QString());
    }

    void editedContactGoneSavesNothing()
    {
        enter("UR5ABC");
        Form3->ButtonSaveClick();
        Form3->ButtonEditClick();
        Db::Table other(&DM->Database1, "Tarnel");
        other.open();
        other.deleteRecord();
        Form3->ButtonSaveClick();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(DM->Table1.recordCount(), 0);
    }

    void serialNumbersThroughTheSave_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("next");
        QTest::newRow("009") << "009" << "010";
        QTest::newRow("099") << "099" << "100";
        QTest::newRow("999") << "999" << "1000";
    }
    void serialNumbersThroughTheSave()
    {
        QFETCH(QString, sent);
        QFETCH(QString, next);
        Form3->ContStart->setChecked(true);
        ContConf->CheckBoxSen->setChecked(true);
        Form3->EditNmTx->setText(sent);
        enter("DL1ABC");
        Form3->ButtonSaveClick();
        QCOMPARE(logField("Log3"), sent);
        QCOMPARE(Form3->EditNmTx->text(), next);
    }

    // During a contest an edit neither takes a new number nor counts points again.
    void editDuringAContestKeepsItsContestData()
    {
        Form3->ContStart->setChecked(true);
        ContConf->CheckBoxSen->setChecked(true);
        Form3->EditNmTx->setText("007");
        Form3->EditNmRx->setText("042");
        enter("UR5ABC");
        Form3->ButtonSaveClick();
        const QString total = Cont->Label5->text();
        QCOMPARE(Form3->EditNmTx->text(), QStringLiteral("008"));
        Form3->ButtonEditClick();
        Form3->EditNmRx->setText("999");
        Form3->MaskEditQth->setText("Lviv");
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(logField("LogQth"), QStringLiteral("Lviv"));
        QCOMPARE(logField("Log2"), QStringLiteral("042"));
        QCOMPARE(logField("Log3"), QStringLiteral("007"));
        QCOMPARE(logField("Log4"), QStringLiteral("1"));
        QCOMPARE(Form3->EditNmTx->text(), QStringLiteral("008"));
        QCOMPARE(Cont->Label5->text(), total);
    }

    // A range set on the grid after the contact was loaded does not lose it.
    void editedContactOutsideTheGridsRangeIsStillSaved()
    {
        enter("UR5ABC");
        Form3->ButtonSaveClick();
        enter("DL1ABC");
        Form3->ButtonSaveClick();
        QVERIFY(DM->Table1.locate("LogCall", "UR5ABC"));
        Form3->ButtonEditClick();
        DM->Table1.setIndexName("ByCall");
        DM->Table1.setRange("DL1ABC", "DL1ABC");
        Form3->MaskEditName->setText("Taras");
        Form3->ButtonSaveClick();
        QVERIFY(dialogs_->errors().isEmpty());
        DM->Table1.cancelRange();
        QCOMPARE(DM->Table1.recordCount(), 2);
        QVERIFY(DM->Table1.locate("LogCall", "UR5ABC"));
        QCOMPARE(logField("LogName"), QStringLiteral("Taras"));
    }
};

QTEST_MAIN(TestSaveContact)
#include "TestSaveContact.moc"
