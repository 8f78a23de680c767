#include "FileSizeLimit.h"
#include "ProgramFixture.h"

#include "awards/FDipA.h"
#include "awards/FDipB.h"
#include "core/GlavnMod.h"
#include "core/MainClock.h"
#include "core/TableSchemas.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"

#include <QTimer>

namespace {

void writeIni(const ProgramFixture &program, const QStringList &lines)
{
    QFile file(program.path("Tarnel.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write((lines.join("\r\n") + "\r\n").toUtf8());
}

QByteArray iniBytes(const ProgramFixture &program)
{
    QFile file(program.path("Tarnel.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void startUp()
{
    Form3->showWindow();
    QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
}

// Opens the settings window the way the operator does, without its modal loop.
void reopen()
{
    Config->showWindow();
    Config->makeInvisible();
}

QLineEdit *entryField(const QString &name)
{
    return Form3->findChild<QLineEdit *>(name);
}

} // namespace

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
    }
    void cleanup() { destroyWindowSet(); }

    void defaultFileByteForByte()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->Button1->click();
        const QByteArray expected =
            "[General]\r\nMyCall=QA1ZZ\r\nMyName=\r\nMyQth=\r\nMyLat=0,0\r\nMyLon=0,0\r\nCheckTim=True\r\n"
            "MyT=\r\nMyM=\r\nBand=14\r\nMode=SSB\r\nInfA=0\r\nAwIota=False\r\nAwWas=False\r\n"
            "AwDipA=False\r\nAwDipB=False\r\nAwANam=\r\nAwBNam=\r\n\r\n"
            "[Bases]\r\nEditVCD=" + home_.path().toUtf8() + "/Callbk/VCD\r\nCheckRep=True\r\nCheckVCD=False\r\n"
            "CheckVCDA=False\r\nCheckSou=False\r\nCheckQRZ=False\r\nCheckQRZA=False\r\nCheckHam=True\r\n"
            "CheckHamA=True\r\n\r\n"
            "[Grid]\r\nBox1D=True\r\nBox1T=True\r\nBox1B=True\r\nBox1M=True\r\nBox1Q=True\r\nBox1N=True\r\n"
            "Box1RR=True\r\nBox1TR=True\r\nBox1QS=True\r\nBox1QR=True\r\nBoxRxRST=False\r\nBoxTxRST=False\r\n"
            "BoxName=False\r\nBoxQth=False\r\nBoxInfo=False\r\nRxR=599\r\nTxR=599\r\nGName=\r\nGQth=\r\n"
            "GInfo=\r\n\r\n"
            "[LogName]\r\nLog1=Log\r\nLog2=Contest\r\nLog3=Log 2000\r\n\r\n"
            "[Programs]\r\nPrN1=Name1\r\nPr1=C:\\\r\nPrN2=Name2\r\nPr2=C:\\\r\nPrN3=Name3\r\nPr3=C:\\\r\n"
            "PrN4=Name4\r\nPr4=C:\\\r\nPrN5=Name5\r\nPr5=C:\\\r\nPrN6=Name6\r\nPr6=C:\\\r\nPrN9=MixW Log\r\n"
            "Pr9=C:\\\r\nPrN8=DigiPan Log\r\nPr8=C:\\\r\n";
        QCOMPARE(iniBytes(program), expected);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void startUpWithoutAFileAppliesTheDefaults()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QCOMPARE(Form3->windowTitle(), QStringLiteral("Tarnel  ( QA1ZZ )"));
        QCOMPARE(Form3->MaskEditRstRx->text(), QStringLiteral("599"));
        QCOMPARE(Form3->MaskEditRstTx->text(), QStringLiteral("599"));
        QVERIFY(Form3->MaskEditRstRx->isEnabled());
        QCOMPARE(Form3->LogLog3->text(), QStringLiteral("Log 2000"));
        QCOMPARE(Form3->LogAddLog2->text(), QStringLiteral("Contest"));
        QCOMPARE(Form3->Diplom11->text(), QStringLiteral("Diplom 1"));
        QVERIFY(Form3->OptionDXCC->isChecked());
        QVERIFY(Form3->Timer1->isActive());
        QVERIFY(!QFile::exists(program.path("Tarnel.ini")));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // First run: the entry shows UTC on this machine's clock from the start,
    // without waiting for the clock's first tick. The offset fields stay
    // empty, showing the machine's offset, and "Save" keeps them empty until
    // the operator types an offset.
    void firstRunEntryTimeIsUtcAtOnce()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        const QDateTime now = QDateTime::currentDateTime();
        MainClock::setNow([now] { return now; });
        createWindowSet();
        Form3->showWindow();
        const QDateTime utc = now.toUTC();
        QCOMPARE(Form3->MaskEditDate->text(), utc.date().toString("dd.MM.yyyy"));
        QCOMPARE(Form3->MaskEditTime->text(), utc.time().toString("HH:mm:ss"));
        QCOMPARE(Config->MaskEditT->text(), QString());
        QCOMPARE(Config->MaskEdit2T->text(), QString());
        QCOMPARE(MainClock::offsetSeconds(Config->MaskEditT->placeholderText(), Config->MaskEdit2T->placeholderText()),
                 std::optional<qint64>(-now.offsetFromUtc()));
        Config->Button1->click();
        QVERIFY(iniBytes(program).contains("\r\nMyT=\r\nMyM=\r\n"));
        // Typed values differ from the machine's own wherever it runs.
        const QString typed = Config->MaskEditT->placeholderText() == QLatin1String("-11") ? "-10" : "-11";
        QTest::keyClicks(Config->MaskEditT, typed);
        QTest::keyClicks(Config->MaskEdit2T, "30");
        Config->Button1->click();
        QVERIFY(iniBytes(program).contains("\r\nMyT=" + typed.toLatin1() + "\r\nMyM=30\r\n"));
        MainClock::setNow(nullptr);
    }

    void fileIsReadAtStartUp()
    {
        ProgramFixture program;
        writeIni(program, {"[Programs]", "Pr1=/usr/bin/fldigi", "PrN1=Fldigi", "[General]", "MyCall=ur5abc",
                           "MyLat=50.5", "MyT=-3", "Band=7", "Mode=CW", "InfA=2", "AwANam=RDA", "AwBNam=",
                           "[LogName]", "Log1=Main", "[Bases]", "CheckSou=True"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QCOMPARE(Config->MaskEditC->text(), QStringLiteral("UR5ABC"));
        QCOMPARE(Form3->windowTitle(), QStringLiteral("Tarnel  ( UR5ABC )"));
        QCOMPARE(Config->MaskEditLat->text(), QStringLiteral("50,5"));
        QCOMPARE(Config->MaskEditT->text(), QStringLiteral("-03"));
        QCOMPARE(Form3->ComboBoxBand->currentText(), QStringLiteral("7"));
        QCOMPARE(Form3->ComboBoxMode->currentText(), QStringLiteral("CW"));
        QVERIFY(Form3->OptionUR->isChecked());
        QVERIFY(!Form3->OptionDXCC->isChecked());
        QCOMPARE(FDipA->windowTitle(), QStringLiteral("RDA"));
        QCOMPARE(Form3->Award11->text(), QStringLiteral("RDA"));
        QCOMPARE(Form3->Diplom11->text(), QStringLiteral("RDA"));
        QCOMPARE(FDipB->windowTitle(), QStringLiteral("Diplom 2"));
        QCOMPARE(Form3->LogLog1->text(), QStringLiteral("Main"));
        QCOMPARE(Form3->LogAddLog1->text(), QStringLiteral("Main"));
        QVERIFY(Form3->Pr11->isVisible());
        QCOMPARE(Form3->Pr11->text(), QStringLiteral("Fldigi"));
        QVERIFY(Form3->SoundAutosave->isChecked());
        QVERIFY(!Form3->Label31->isHidden());
        QVERIFY(dialogs.shown.isEmpty());
    }

    void fixedValuesFollowTheirBoxes_data()
    {
        QTest::addColumn<QString>("boxKey");
        QTest::addColumn<QString>("valueKey");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("unticked"); // the field's text once the box is unticked
        QTest::newRow("received report") << "BoxRxRST" << "RxR" << "MaskEditRstRx" << "Label4" << "57N";
        QTest::newRow("sent report") << "BoxTxRST" << "TxR" << "MaskEditRstTx" << "Label3" << "57N";
        QTest::newRow("name") << "BoxName" << "GName" << "MaskEditName" << "Label5" << "";
        QTest::newRow("QTH") << "BoxQth" << "GQth" << "MaskEditQth" << "Label6" << "";
    }
    void fixedValuesFollowTheirBoxes()
    {
        QFETCH(QString, boxKey);
        QFETCH(QString, valueKey);
        QFETCH(QString, field);
        QFETCH(QString, label);
        QFETCH(QString, unticked);
        ProgramFixture program;
        writeIni(program, {boxKey + "=True", valueKey + "=57N"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QLineEdit *entry = entryField(field);
        QCOMPARE(entry->text(), QStringLiteral("57N"));
        QVERIFY(!entry->isEnabled());
        QCOMPARE(Form3->findChild<QLabel *>(label)->cursor().shape(), Qt::PointingHandCursor);

        entry->setEnabled(true);
        entry->setText("typed");
        writeIni(program, {boxKey + "=False", valueKey + "=57N"});
        reopen();
        QCOMPARE(entry->text(), unticked);
        QVERIFY(entry->isEnabled());
        QVERIFY(dialogs.shown.isEmpty());
    }

    void fixedNotepadTextGoesToTheHiddenField_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::newRow("ticked") << true;
        QTest::newRow("unticked") << false;
    }
    void fixedNotepadTextGoesToTheHiddenField()
    {
        QFETCH(bool, ticked);
        ProgramFixture program;
        writeIni(program, {QStringLiteral("BoxInfo=") + (ticked ? "True" : "False"), "GInfo=RDA KR-12"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QCOMPARE(Form3->EditIf->text(), ticked ? QStringLiteral("RDA KR-12") : QString());
        QCOMPARE(Form3->MemoNot->isEnabled(), !ticked);
        QCOMPARE(Form3->Label13->cursor().shape() == Qt::PointingHandCursor, ticked);
    }

    void programItemShownUnlessThePathIsTheNoProgramMark_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("caption");
        QTest::newRow("no program") << "3" << "C:\\" << false << "";
        QTest::newRow("lower-case drive") << "3" << "c:\\" << true << "Mine";
        QTest::newRow("Windows path") << "3" << "C:\\Fldigi\\fldigi.exe" << true << "Mine";
        QTest::newRow("Linux path") << "6" << "/usr/bin/fldigi" << true << "Mine";
        QTest::newRow("empty path") << "6" << "" << true << "Mine";
        QTest::newRow("MixW keeps its fixed name") << "9" << "/home/op/MixW2.log" << true << "MixW Log";
        QTest::newRow("DigiPan keeps its fixed name") << "8" << "/home/op/dp.log" << true << "DigiPan Log";
        QTest::newRow("MixW not set") << "9" << "C:\\" << false << "";
    }
    void programItemShownUnlessThePathIsTheNoProgramMark()
    {
        QFETCH(QString, number);
        QFETCH(QString, path);
        QFETCH(bool, shown);
        QFETCH(QString, caption);
        ProgramFixture program;
        writeIni(program, {"PrN" + number + "=Mine", "Pr" + number + "=" + path});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Ui::MenuItem *item = Form3->findChild<Ui::MenuItem *>("Pr" + number + "1");
        QVERIFY(item);
        QCOMPARE(item->isVisible(), shown);
        if (shown)
            QCOMPARE(item->text(), caption);
        for (Ui::MenuItem *other : {Form3->Pr11, Form3->Pr21, Form3->Pr31, Form3->Pr41, Form3->Pr51, Form3->Pr61,
                                    Form3->Pr81, Form3->Pr91})
            if (other != item)
                QVERIFY2(!other->isVisible(), qPrintable(other->objectName()));
    }

    void unticedColumnIsHiddenInTheMainCursorOnly_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("field");
        QTest::newRow("date") << "Box1D" << "LogDate";
        QTest::newRow("time") << "Box1T" << "LogTime";
        QTest::newRow("band") << "Box1B" << "LogBand";
        QTest::newRow("mode") << "Box1M" << "LogMode";
        QTest::newRow("name") << "Box1N" << "LogName";
        QTest::newRow("QTH") << "Box1Q" << "LogQth";
        QTest::newRow("received report") << "Box1RR" << "LogRxRst";
        QTest::newRow("sent report") << "Box1TR" << "LogTxRst";
        QTest::newRow("sent QSL") << "Box1QS" << "LogTxQsl";
        QTest::newRow("received QSL") << "Box1QR" << "LogRxQsl";
    }
    void unticedColumnIsHiddenInTheMainCursorOnly()
    {
        QFETCH(QString, key);
        QFETCH(QString, field);
        ProgramFixture program;
        writeIni(program, {key + "=False"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        const QStringList columns{"LogDate", "LogTime",  "LogBand",  "LogMode",  "LogName",
                                  "LogQth",  "LogRxRst", "LogTxRst", "LogTxQsl", "LogRxQsl"};
        for (const QString &column : columns)
            QCOMPARE(DM->Table1.fieldView(column).visible, column != field);
        QVERIFY(DM->Table7.fieldView(field).visible);

        // Ticked again in the window and saved: the column comes back.
        Config->findChild<QCheckBox *>("CheckBox" + key.mid(3))->setChecked(true);
        Config->Button1->click();
        QVERIFY(DM->Table1.fieldView(field).visible);
    }

    void missingCallbooksSwitchTheirAutoLookUpOff_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("hamAuto");
        QTest::addColumn<bool>("qrzAuto");
        QTest::newRow("none") << QStringList{} << false << false;
        QTest::newRow("all") << QStringList{"Cbook.db", "Cbook2.db", "Cbook3.db"} << true << true;
        QTest::newRow("Cbook2 missing") << QStringList{"Cbook.db", "Cbook3.db"} << true << false;
        QTest::newRow("Cbook3 missing") << QStringList{"Cbook2.db"} << false << false;
        QTest::newRow("other case") << QStringList{"CBOOK.DB", "cbook2.DB", "CBook3.db"} << true << true;
    }
    void missingCallbooksSwitchTheirAutoLookUpOff()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, hamAuto);
        QFETCH(bool, qrzAuto);
        ProgramFixture program;
        for (const QString &file : files) {
            const bool qrz = file.contains('2') || file.contains('3');
            Db::createTableFile(program.path("Base/" + file),
                                qrz ? TableSchemas::cbookQrz(file.left(6)) : TableSchemas::cbook());
        }
        writeIni(program, {"CheckQRZ=True", "CheckQRZA=True", "CheckHam=True", "CheckHamA=True"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QCOMPARE(Config->CheckBoxHamA->isChecked(), hamAuto);
        QCOMPARE(Config->CheckBoxQRZA->isChecked(), qrzAuto);
        QVERIFY(Config->CheckBoxHam->isChecked());
        QVERIFY(Config->CheckBoxQRZ->isChecked());
        Config->Button1->click();
        const QByteArray saved = iniBytes(program);
        QVERIFY(saved.contains(QByteArray("CheckQRZA=") + (qrzAuto ? "True" : "False") + "\r\n"));
        QVERIFY(saved.contains(QByteArray("CheckHamA=") + (hamAuto ? "True" : "False") + "\r\n"));
        QVERIFY(saved.contains("CheckQRZ=True\r\n"));
        QVERIFY(dialogs.errors().isEmpty());
    }

    // A stored contact loaded for correcting keeps its values; the clock runs
    // again only with "Real" ticked.
    void editModeLeavesTheContactAlone_data()
    {
        QTest::addColumn<bool>("real");
        QTest::newRow("Real unticked") << false;
        QTest::newRow("Real ticked") << true;
    }
    void editModeLeavesTheContactAlone()
    {
        QFETCH(bool, real);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Form3->ButtonEdit->setText("Esc");
        Form3->CheckBoxTime->setChecked(real);
        Form3->Timer1->stop();
        const std::pair<QLineEdit *, QString> stored[] = {
            {Form3->MaskEditRstRx, "339"}, {Form3->MaskEditRstTx, "449"}, {Form3->MaskEditName, "Petr"},
            {Form3->MaskEditQth, "Lviv"},  {Form3->EditIf, "kept"}};
        for (const auto &[field, text] : stored)
            field->setText(text);
        Form3->ComboBoxBand->setCurrentText("21");
        Form3->ComboBoxMode->setCurrentText("RTTY");
        writeIni(program, {"BoxRxRST=True", "RxR=599", "BoxName=True", "GName=Ivan", "BoxQth=False",
                           "BoxInfo=True", "GInfo=fixed", "Band=7", "Mode=CW", "MyCall=UR5ABC"});

        const auto unchanged = [&] {
            for (const auto &[field, text] : stored)
                QCOMPARE(field->text(), text);
            QCOMPARE(Form3->ComboBoxBand->currentText(), QStringLiteral("21"));
            QCOMPARE(Form3->ComboBoxMode->currentText(), QStringLiteral("RTTY"));
            QVERIFY(!Form3->MaskEditRstRx->isEnabled());
            QVERIFY(!Form3->MaskEditName->isEnabled());
            QVERIFY(Form3->MaskEditQth->isEnabled());
            QVERIFY(!Form3->MemoNot->isEnabled());
        };
        Config->showWindow();
        unchanged();
        QCOMPARE(Form3->Timer1->isActive(), real);
        QCOMPARE(Form3->Label5->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(Form3->windowTitle(), QStringLiteral("Tarnel  ( UR5ABC )"));
        Config->Button1->click();
        unchanged();
        Form3->Timer1->stop();
        Config->closeWindow();
        QCOMPARE(Form3->Timer1->isActive(), real);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void badInfoIndexIsReportedAndTheRestApplied_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("letters") << "x";
        QTest::newRow("out of range") << "3";
        QTest::newRow("fraction") << "0,5";
    }
    void badInfoIndexIsReportedAndTheRestApplied()
    {
        QFETCH(QString, value);
        ProgramFixture program;
        writeIni(program, {"MyCall=UR5ABC", "InfA=" + value, "Log1=Main", "Mode=CW"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QCOMPARE(dialogs.errors(), QStringList{"Bad InfA value in Tarnel.ini: " + value});
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(Form3->windowTitle(), QStringLiteral("Tarnel  ( UR5ABC )"));
        QCOMPARE(Form3->LogLog1->text(), QStringLiteral("Main"));
        QCOMPARE(Form3->ComboBoxMode->currentText(), QStringLiteral("CW"));
        QCOMPARE(Config->RadioGroupInf->itemIndex(), 0);
        QVERIFY(Form3->OptionDXCC->isChecked());
        QVERIFY(Form3->Timer1->isActive());
    }

    void failedSaveKeepsTheOldFileAndTheWindowOpen_data()
    {
        QTest::addColumn<bool>("saveExit");
        QTest::newRow("Save") << false;
        QTest::newRow("Save Exit") << true;
    }
    void failedSaveKeepsTheOldFileAndTheWindowOpen()
    {
        QFETCH(bool, saveExit);
        ProgramFixture program;
        writeIni(program, {"Band=7"});
        const QByteArray old = iniBytes(program);
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Config->showWindow();
        Config->ComboBoxGF->setCurrentText("21");
        {
            FileSizeLimit limit(64);
            (saveExit ? Config->Button4 : Config->Button1)->click();
        }
        QCOMPARE(dialogs.errors().size(), 1);
        QVERIFY(dialogs.errors().first().contains(program.path("Tarnel.ini")));
        QCOMPARE(iniBytes(program), old);
        QVERIFY(Config->isVisible());
        // The save set ran all the same.
        QCOMPARE(Form3->ComboBoxBand->currentText(), QStringLiteral("21"));
    }

    void saveExitWritesAndCloses()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Config->showWindow();
        Config->EditL2->setText("DX");
        Config->Button4->click();
        QVERIFY(!Config->isVisible());
        QVERIFY(iniBytes(program).contains("\r\nLog2=DX\r\n"));
        QCOMPARE(Form3->LogLog2->text(), QStringLiteral("DX"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // Close does not read the file: unsaved changes hold until the next opening.
    void closeKeepsUnsavedChangesUntilTheNextOpening()
    {
        ProgramFixture program;
        writeIni(program, {"MyCall=UR5ABC", "Log3=Old"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Config->showWindow();
        Config->EditL3->setText("New");
        Config->Button2->click();
        QVERIFY(!Config->isVisible());
        QCOMPARE(Config->EditL3->text(), QStringLiteral("New"));
        QCOMPARE(Form3->LogLog3->text(), QStringLiteral("New"));
        reopen();
        QCOMPARE(Config->EditL3->text(), QStringLiteral("Old"));
        QCOMPARE(Form3->LogLog3->text(), QStringLiteral("Old"));
    }

    // Coming back to the open window (after another window, or a message box)
    // keeps what the operator typed.
    void focusComingBackDoesNotReadTheFile()
    {
        ProgramFixture program;
        writeIni(program, {"Log3=Old"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Config->showWindow();
        Config->EditL3->setText("Typed");
        Form3->showWindow();
        Config->showWindow();
        QCOMPARE(Config->EditL3->text(), QStringLiteral("Typed"));
    }

    void saveWithInfoTickedLeavesTheAutoSaveMark_data()
    {
        QTest::addColumn<bool>("info");
        QTest::newRow("Info ticked") << true;
        QTest::newRow("Info unticked") << false;
    }
    void saveWithInfoTickedLeavesTheAutoSaveMark()
    {
        QFETCH(bool, info);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QVERIFY(!Form3->SoundAutosave->isChecked());
        Config->CheckBoxInfo->setChecked(info);
        Config->CheckBoxSound->setChecked(true);
        Config->Button1->click();
        QCOMPARE(Form3->SoundAutosave->isChecked(), !info);
        QCOMPARE(Form3->Label31->isHidden(), info);
        reopen();
        QVERIFY(Form3->SoundAutosave->isChecked());
    }

    void externalBaseDirectoryIsTestedOnTheOperatorsTick_data()
    {
        QTest::addColumn<bool>("baseThere");
        QTest::newRow("base there") << true;
        QTest::newRow("no base") << false;
    }
    void externalBaseDirectoryIsTestedOnTheOperatorsTick()
    {
        QFETCH(bool, baseThere);
        ProgramFixture program;
        QDir().mkpath(program.path("VCD"));
        if (baseThere)
            Db::createTableFile(program.path("VCD/cs.db"), TableSchemas::cs());
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->EditVCD->setText(program.path("VCD"));
        Config->CheckBoxVCD->click();
        QCOMPARE(Config->CheckBoxVCD->isChecked(), baseThere);
        QCOMPARE(dialogs.warnings(), baseThere ? QStringList{} : QStringList{"Not VCD in this directory !"});
        dialogs.shown.clear();
        Config->CheckBoxVCD->setChecked(true);
        Config->CheckBoxVCD->click(); // unticking never warns
        QVERIFY(!Config->CheckBoxVCD->isChecked());
        QVERIFY(dialogs.shown.isEmpty());
    }

    // The directory read from the file is the one tested, whatever the order
    // of the lines, and at every reading of the file.
    void externalBaseIsTestedAfterEveryReading_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QStringList>("warnings");
        const QStringList none;
        const QStringList warning{"Not VCD in this directory !\n<empty>"}; // named at start-up
        QTest::newRow("box before directory") << QStringList{"CheckVCD=True", "EditVCD=<base>"} << true << none;
        QTest::newRow("directory before box") << QStringList{"EditVCD=<base>", "CheckVCD=True"} << true << none;
        QTest::newRow("wrong directory") << QStringList{"CheckVCD=True", "EditVCD=<empty>"} << false << warning;
        QTest::newRow("box off, wrong directory")
            << QStringList{"CheckVCD=False", "EditVCD=<empty>"} << false << none;
    }
    void externalBaseIsTestedAfterEveryReading()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, ticked);
        QFETCH(QStringList, warnings);
        ProgramFixture program;
        QDir().mkpath(program.path("VCD"));
        QDir().mkpath(program.path("Empty"));
        Db::createTableFile(program.path("VCD/cs.db"), TableSchemas::cs());
        lines.replaceInStrings("<base>", program.path("VCD"));
        lines.replaceInStrings("<empty>", program.path("Empty"));
        warnings.replaceInStrings("<empty>", program.path("Empty"));
        writeIni(program, lines);
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QCOMPARE(Config->CheckBoxVCD->isChecked(), ticked);
        QCOMPARE(dialogs.warnings(), warnings);
        QCOMPARE(DM->Table8.isActive(), ticked);
        // Opening the window again reads the file again and tests again.
        Config->closeWindow();
        Config->showWindow();
        QCOMPARE(Config->CheckBoxVCD->isChecked(), ticked);
        QCOMPARE(dialogs.warnings(), warnings + warnings);
    }

    void offsetFieldsStopTheClockWhileEdited_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("hours") << "MaskEditT";
        QTest::newRow("minutes") << "MaskEdit2T";
    }
    void offsetFieldsStopTheClockWhileEdited()
    {
        QFETCH(QString, field);
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        auto *edit = Config->findChild<Ui::MaskEdit *>(field);
        // A value the field does not hold already, whatever the machine's zone.
        edit->setText(edit->text() == QLatin1String("07") ? "08" : "07");
        QVERIFY(!Form3->Timer1->isActive());
        emit edit->exited();
        QVERIFY(Form3->Timer1->isActive());
    }

    void configurationItemOpensTheWindowModally()
    {
        ProgramFixture program;
        writeIni(program, {"Log2=Contest 2"});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Config->EditL2->setText("changed");
        bool wasShown = false;
        QTimer::singleShot(0, [&] {
            wasShown = Config->isVisible() && Config->isModal();
            Config->Button2->click();
        });
        Form3->Configuration1->click();
        QVERIFY(wasShown);
        QVERIFY(!Config->isVisible());
        QCOMPARE(Config->EditL2->text(), QStringLiteral("Contest 2"));
    }

    void helpOpensTheLocalPageAtItsSection_data()
    {
        QTest::addColumn<bool>("pageThere");
        QTest::newRow("page there") << true;
        QTest::newRow("no page") << false;
    }
    void helpOpensTheLocalPageAtItsSection()
    {
        QFETCH(bool, pageThere);
        ProgramFixture program;
        if (pageThere) {
            QFile page(program.path("Tnl.html"));
            QVERIFY(page.open(QIODevice::WriteOnly));
        }
        QList<QUrl> opened;
        Shell::setUrlOpener([&opened](const QUrl &url) {
            opened << url;
            return true;
        });
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->HelpCon->click();
        Shell::setUrlOpener({});
        if (pageThere) {
            QCOMPARE(opened.size(), 1);
            QCOMPARE(opened.first().toLocalFile(), QFileInfo(program.path("Tnl.html")).absoluteFilePath());
            QCOMPARE(opened.first().fragment(), QStringLiteral("Configuration"));
            QVERIFY(dialogs.shown.isEmpty());
        } else {
            QVERIFY(opened.isEmpty());
            QCOMPARE(dialogs.warnings(), QStringList{"Help file Tnl.html not found"});
        }
    }

private:
    QTemporaryDir home_;
};

QTEST_MAIN(TestConfig)
#include "TestConfig.moc"
