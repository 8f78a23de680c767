#include "ProgramFixture.h"
#include "SamplePrefixes.h"

#include "core/FConfirm.h"
#include "core/GlavnMod.h"
#include "core/LookupChain.h"
#include "core/Povt.h"
#include "core/TableSchemas.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "exchange/ExchangeFile.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Dialogs.h"
#include "station/UMixW.h"

#include <QStatusBar>

namespace {

QString logCall()
{
    return DM->Table1.fieldByName("LogCall").asString();
}

} // namespace

class TestLookupChain : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    // The callsign typed and the field left, as the operator does it.
    void enterAndLeave(const QString &call)
    {
        Form3->MaskEditName->clear();
        Form3->MaskEditQth->clear();
        Form3->MaskEditCall->setText(call);
        Form3->MaskEditCallExit();
    }

private slots:
    // ---- rules without a window
    void chainSteps_data()
    {
        QTest::addColumn<bool>("contest");
        QTest::addColumn<bool>("repetitionView");
        QTest::addColumn<bool>("autos");
        QTest::addColumn<QString>("steps"); // internal 1, internal 2, own log, external base
        QTest::newRow("all on, no contest") << false << false << true << "1111";
        QTest::newRow("contest running: callbooks only") << true << false << true << "1100";
        QTest::newRow("repetition view: no own log") << false << true << true << "1101";
        QTest::newRow("Auto boxes off") << false << false << false << "0000";
    }
    void chainSteps()
    {
        QFETCH(bool, contest);
        QFETCH(bool, repetitionView);
        QFETCH(bool, autos);
        const LookupChain::Steps s = LookupChain::steps({autos, autos, contest, autos, repetitionView, autos});
        const QString got = QString::number(s.internal1) + QString::number(s.internal2) +
                            QString::number(s.earlierContacts) + QString::number(s.externalBase);
        QTEST(got, "steps");
    }

    void externalBaseTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("entryName");
        QTest::addColumn<QString>("entryQth");
        QTest::newRow("surname and first name") << "Ivanov Ivan" << "Kyiv, Main st" << "--Ivan" << "--Kyiv";
        QTest::newRow("town without a comma") << "Ivan" << "Kyiv Main" << "--Ivan" << "--Kyiv";
        QTest::newRow("no blank in the address") << "Ivanov Ivan" << "Kyiv" << "--Ivan" << "--";
        QTest::newRow("address starting with a blank") << "" << " Kyiv" << "--" << "--";
    }
    void externalBaseTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QTEST(LookupChain::externalName(name), "entryName");
        QTEST(LookupChain::externalQth(address), "entryQth");
    }

    void exchangeFile_data()
    {
        QTest::addColumn<QStringList>("fields"); // call, sent, received, name, QTH
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("full contact") << QStringList{"QB1AA", "599", "57", "Bob", "Lyon"}
                                      << QByteArray("[QSO]\r\nCall=QB1AA\r\nRprtSent=599\r\nsRprtSent=59n\r\n"
                                                    "RprtRcvd=57\r\nsRprtRcvd=57n\r\nName=Bob\r\nQTH=Lyon\r\n"
                                                    "QTH=bureau\r\n");
        QTest::newRow("short and empty reports, one-letter name, no QTH")
            << QStringList{"QB1AA", "5", "", "B", ""}
            << QByteArray("[QSO]\r\nCall=QB1AA\r\nRprtSent=5\r\nsRprtSent=5n\r\nRprtRcvd=\r\nsRprtRcvd=n\r\n"
                          "Name=\r\nQTH=\r\nQTH=bureau\r\n");
        QTest::newRow("line ends dropped") << QStringList{"QB1AA", "599", "599", "Bob\r\nCall=X", "Ly\non"}
                                           << QByteArray("[QSO]\r\nCall=QB1AA\r\nRprtSent=599\r\nsRprtSent=59n\r\n"
                                                         "RprtRcvd=599\r\nsRprtRcvd=59n\r\nName=BobCall=X\r\n"
                                                         "QTH=Lyon\r\nQTH=bureau\r\n");
    }
    void exchangeFile()
    {
        QFETCH(QStringList, fields);
        QTEST(ExchangeFile::compose({fields[0], fields[1], fields[2], fields[3], fields[4]}), "bytes");
    }

    // ---- through the main window
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        for (const char *file : {"Cbook2.DB", "Cbook3.DB"})
            Db::createTableFile(program_->path(QStringLiteral("Base/") + file),
                                TableSchemas::cbookQrz(QString::fromLatin1(file).left(6)));
        program_->addRows("Base", "Cbook3.DB", {{{"Call", "UR5AAA"}, {"Name", "Taras"}, {"QTH", "Lviv"}}});
        program_->addRows("Base", "Cbook2.DB", {{{"Call", "DL1AB"}, {"Name", "Hans"}, {"QTH", "Bonn"}}});
        program_->addRows("Log/Log1", "Tarnel",
                          {{{"LogCall", "UR5AAA"}, {"LogDate", "01.01.2024"}, {"LogTime", "10:00:00"},
                            {"LogName", "Taras"}, {"LogQth", "Kyiv"}},
                           {{"LogCall", "UR5AAA"}, {"LogDate", "02.01.2024"}, {"LogTime", "10:00:00"},
                            {"LogName", "Taras"}, {"LogQth", "Kyiv"}, {"LogRxQsl", "Yes"}},
                           {{"LogCall", "DL1AB"}, {"LogDate", "03.01.2024"}, {"LogBand", "7"}, {"Log1", "1"}}});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow(); // the first activation with its settings is over before any look-up
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        Config->CheckBoxQRZ->setChecked(true);
        Config->CheckBoxQRZA->setChecked(true);
    }
    void cleanup()
    {
        destroyWindowSet();
        QVERIFY(dialogs_->errors().isEmpty());
        dialogs_.reset();
        program_.reset();
    }

    // Cbook2 speaks only while the name holds fewer than three characters;
    // a manual look-up of earlier contacts consults the callbooks without
    // their Auto boxes.
    void secondCallbookOnlyForShortNames()
    {
        Form3->MaskEditCall->setText("DL1AB");
        Form3->MaskEditName->setText("Bo");
        Form3->ButExt2Click();
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Hans"));
        Form3->MaskEditName->setText("Bob");
        Form3->MaskEditQth->clear();
        Form3->ButExt2Click();
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Bob"));
        QCOMPARE(Form3->MaskEditQth->text(), QString());
        Config->CheckBoxQRZA->setChecked(false);
        Form3->MaskEditName->clear();
        Form3->ButtonFindMouseUp();
        QCOMPARE(Form3->MaskEditQth->text(), QStringLiteral("Bonn"));
    }

    // The log's earlier contacts: the repeat window, then the callbook's
    // differing QTH offered back; "All" writes the entry and the MixW fields.
    void earlierContactsAndConfirmation()
    {
        enterAndLeave("UR5AAA");
        QVERIFY(Povt->isVisible());
        QCOMPARE(Povt->windowTitle(), QStringLiteral("UR5AAA"));
        QCOMPARE(Povt->StatusBar1->currentMessage(), QStringLiteral("  2  QSO"));
        QCOMPARE(DM->Table7.fieldByName("LogDate").asString(), QStringLiteral("02.01.2024"));
        QCOMPARE(Form3->MaskEditQth->text(), QStringLiteral("Kyiv"));
        QVERIFY(FConfirm->isVisible());
        QCOMPARE(FConfirm->Edit2->text(), QStringLiteral("Lviv"));
        FConfirm->Button4Click();
        QCOMPARE(Form3->MaskEditQth->text(), QStringLiteral("Lviv"));
        QCOMPARE(MixT->Edit8->text(), QStringLiteral("Lviv"));
        QCOMPARE(MixT->Edit7->text(), QStringLiteral("Taras"));
        QVERIFY(!FConfirm->isVisible());
        QVERIFY(QFile::exists(program_->path("TnlQSO.ini")));
        Povt->closeWindow();
        QCOMPARE(Povt->windowTitle(), QStringLiteral("Tarnel"));
    }

    // A later callsign in a contest (the repeat window still open) is never
    // offered the previous callsign's name and QTH.
    void noStaleConfirmation()
    {
        enterAndLeave("UR5AAA");
        FConfirm->Button3Click();
        Form3->ContStop->setChecked(false);
        Form3->ContStart->setChecked(true);
        enterAndLeave("G4XYZ");
        QVERIFY(Povt->isVisible());
        QVERIFY(!FConfirm->isVisible());
    }

    // The external base before it was opened: skipped, no box.
    void closedExternalBaseIsSkipped()
    {
        Config->CheckBoxVCD->setChecked(false);
        dialogs_->shown.clear();
        Config->CheckBoxVCD->blockSignals(true);
        Config->CheckBoxVCD->setChecked(true);
        Config->CheckBoxVCD->blockSignals(false);
        Config->CheckBoxVCDA->setChecked(true);
        QVERIFY(!DM->Table8.isActive());
        enterAndLeave("G4XYZ");
        QVERIFY(dialogs_->shown.isEmpty());
    }

    // A filter's range on one field ends when the order changes to another;
    // the call filter's range stays in the callsign order.
    void sortItemsAndRanges()
    {
        DM->Table1.setIndexName("By1");
        DM->Table1.setRange("1", "1");
        Form3->ViewSortBand->click();
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByBand"));
        QCOMPARE(DM->Table1.recordCount(), 3);
        DM->Table1.setIndexName("ByCall");
        DM->Table1.setRange("UR5AAA", "UR5AAA");
        Form3->ViewSortCall->click();
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByCDT"));
        QVERIFY(Form3->ViewSortCall->isChecked());
        QCOMPARE(DM->Table1.recordCount(), 2);
    }

    void qslFillers()
    {
        Form3->InsertDate1->click();
        QCOMPARE(Form3->MaskEditQslRx->text(), QDate::currentDate().toString("dd.MM.yyyy"));
        Form3->eQSL1->click();
        QCOMPARE(Form3->MaskEditQslTx->text(), QStringLiteral("eQSL"));
        Form3->InsertYes2->click();
        QCOMPARE(Form3->MaskEditQslTx->text(), QStringLiteral("Yes"));
    }

    // Every field exit rewrites the file: a file that cannot be written is
    // reported once, not on every exit, and the entry stays as it is.
    void exchangeFileFailureReportedOnce()
    {
        QVERIFY(QDir().mkpath(program_->path("TnlQSO.ini/blocked")));
        Form3->MaskEditName->setText("Bob");
        Form3->MaskEditNameExit();
        Form3->MaskEditQthExit();
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY(dialogs_->errors().first().contains("TnlQSO.ini"));
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Bob"));
        dialogs_->shown.clear();
    }

    void confirmedRowsSilverInEveryColumn()
    {
        Form3->ViewSortDate->click();
        const QAbstractItemModel *grid = Form3->DBGridLog->model();
        QCOMPARE(grid->rowCount(), 3);
        for (int c = 0; c < grid->columnCount(); ++c) {
            QCOMPARE(grid->index(0, c).data(Qt::BackgroundRole), QVariant());
            QCOMPARE(grid->index(1, c).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));
        }
    }

    void deleteAsksAndEmptiesTheNotepad_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("Yes") << int(Ui::Answer::Yes) << 2;
        QTest::newRow("No") << int(Ui::Answer::No) << 3;
        QTest::newRow("Cancel") << int(Ui::Answer::Cancel) << 3;
    }
    void deleteAsksAndEmptiesTheNotepad()
    {
        QFETCH(int, answer);
        DM->Table1.last();
        Form3->MemoNot->setPlainText("note");
        dialogs_->answers.push_back(Ui::Answer(answer));
        Form3->Delete1->click();
        QCOMPARE(dialogs_->questions(), QStringList{"Delete DL1AB ?"});
        QCOMPARE(Form3->MemoNot->toPlainText(), QString());
        QTEST(DM->Table1.recordCount(), "left");
    }

    void deleteOnAnEmptyLogAsksNothing()
    {
        while (DM->Table1.recordCount() > 0)
            DM->Table1.deleteRecord();
        Form3->ViewDeleteQso->click();
        QVERIFY(dialogs_->questions().isEmpty());
    }

    // Clear: in normal mode back to the date order on the last contact; in
    // edit mode the order and range stay, and so does edit mode.
    void clearInBothModes()
    {
        DM->Table1.setIndexName("ByCall");
        DM->Table1.setRange("UR5AAA", "UR5AAA");
        DM->Table1.first();
        Form3->ButtonEditClick();
        Form3->ButtonClearClick();
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Esc"));
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByCall"));
        QVERIFY(DM->Table1.hasRange());
        QCOMPARE(Form3->MaskEditCall->text(), QString());
        Form3->ButtonEditClick();
        Form3->ButtonClearClick();
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByDatTim"));
        QVERIFY(!DM->Table1.hasRange());
        QCOMPARE(logCall(), QStringLiteral("DL1AB"));
        QVERIFY(Form3->ViewSortDate->isChecked());
        QCOMPARE(Form3->Label24->text(), QStringLiteral("Save"));
    }
};

QTEST_MAIN(TestLookupChain)
#include "TestLookupChain.moc"
