#include "../core/ProgramFixture.h"
#include "../core/SamplePrefixes.h"

#include "awards/AwardCounts.h"
#include "awards/UDxcc.h"
#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"

#include <QComboBox>
#include <QPushButton>

class TestAwardsWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    QString counts()
    {
        QStringList texts;
        for (QLabel *l : {AwDx->Label14S, AwDx->Label21S, AwDx->LabelTS, AwDx->Label14C, AwDx->Label21C,
                          AwDx->LabelTC, AwDx->LabelSO})
            texts << l->text();
        return texts.join(' ');
    }
    QString dxccRow()
    {
        return DM->Table4.fieldByName("Prefix").asString();
    }

private slots:
    // ---- rules without a window
    void shownCells_data()
    {
        QTest::addColumn<QString>("chooser");
        QTest::addColumn<bool>("waz");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("14") << "14" << false << QStringList{"B14", "B14Cw", "B14Ssb", "B14Rtty", "B14Other"};
        QTest::newRow("Sat in Waz") << "Sat" << true
                                    << QStringList{"Satellite", "SatCW", "SatSSB", "SatRTTY", "SatOTHER"};
        QTest::newRow("ALL") << "ALL" << false
                             << QStringList{"B16", "B35", "B7", "B10", "B14", "B18", "B21", "B24", "B28", "B50",
                                            "Satellite"};
        QTest::newRow("15 is no item") << "15" << false << QStringList{};
    }
    void shownCells()
    {
        QFETCH(QString, chooser);
        QFETCH(bool, waz);
        QTEST(AwardCounts::shownCells(chooser, waz), "cells");
    }

    // ---- the window
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        // Row UR from the sample: B14 cfm, B7 wkd, B21Cw cfm.
        program_->addRows("Awrds", "Dxcc",
                          {{{"Prefix", "K"}, {"B14Ssb", "wkd"}, {"B21Ssb", "cfm"}},
                           {{"Prefix", "KH6"}, {"B14Ssb", "cfm"}},
                           {{"Prefix", "KH7"}},
                           {{"Prefix", "G"}, {"B14", "cfm"}, {"B14Cw", "WKD"}, {"B21Cw", "Cfm"}}});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        AwDx->showWindow();
    }
    void cleanup()
    {
        destroyWindowSet();
        QVERIFY(dialogs_->errors().isEmpty());
        dialogs_.reset();
        program_.reset();
    }

    // Activation counts DXCC worked; each press toggles the view.
    void countsAndViewToggle()
    {
        QVERIFY(!DM->Table3.isActive());
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("DXCC worked"));
        QCOMPARE(counts(), QStringLiteral("2 1 2 0 1 1 0"));
        QVERIFY(AwDx->DBGrid1->model()->rowCount() == 5);
        AwDx->Button4->click();
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("DXCC confirmed"));
        QCOMPARE(AwDx->Button4->text(), QStringLiteral("Worked"));
        QCOMPARE(counts(), QStringLiteral("1 1 2 0 1 1 0"));
        AwDx->Button4->click();
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("DXCC worked"));
        QCOMPARE(AwDx->Button4->text(), QStringLiteral("Confirm"));
        QCOMPARE(counts(), QStringLiteral("2 1 2 0 1 1 0"));
        AwDx->closeWindow();
        QVERIFY(DM->Table3.isActive());
    }

    // WAZ toggles from the view before; Russ - Ukr always opens worked; Delete only for DXCC.
    void awardSwitches()
    {
        AwDx->AwardsWAZ->click();
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("WAZ confirmed"));
        QVERIFY(AwDx->DBGrid2->isVisible());
        QVERIFY(!AwDx->MaskEdit1->isVisible());
        QVERIFY(!AwDx->EditDel->isEnabled());
        AwDx->AwardsRussUkr->click();
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("Russ - Ukr worked"));
        QCOMPARE(AwDx->LabelTC->text(), QStringLiteral("0")); // UR holds a band cell alone
        QVERIFY(!AwDx->EditDel->isEnabled());
        QVERIFY(!AwDx->DBGrid2->isVisible());
        QCOMPARE(AwDx->DBGrid1->dataSource(), &DM->DataSource9);
        AwDx->AwardsDXCC->click();
        QVERIFY(AwDx->EditDel->isEnabled());
        QCOMPARE(AwDx->DBGrid1->dataSource(), &DM->DataSource4);
        QCOMPARE(AwDx->ComboBox1->currentText(), QStringLiteral("ALL"));
    }

    void bandChooser_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("columns"); // of the Dxcc grid
        QTest::newRow("14") << "14" << QStringList{"Prefix", "B14", "B14Cw", "B14Ssb", "B14Rtty", "B14Other"};
        QTest::newRow("ALL") << "ALL"
                             << QStringList{"Prefix", "B16", "B35", "B7", "B10", "B14", "B18", "B21", "B24", "B28",
                                            "B50", "Satellite"};
        QTest::newRow("typed 15") << "15" << QStringList{"Prefix"};
    }
    void bandChooser()
    {
        QFETCH(QString, text);
        AwDx->ComboBox1->setCurrentText("1.8");
        AwDx->ComboBox1->setCurrentText(text);
        QStringList shown;
        for (const Db::FieldView &f : DM->Table4.visibleFields())
            if (f.name == "Prefix" || f.name.startsWith('B') || f.name.startsWith("Sat"))
                shown << f.name;
        QTEST(shown, "columns");
        bool regionName = false;
        for (const Db::FieldView &f : DM->Table9.visibleFields())
            regionName = regionName || f.name == "QslSend";
        QVERIFY(regionName);
    }

    // Letter by letter: each text that is a key moves Dxcc there; the rest leave it.
    void findLetterByLetter()
    {
        const QStringList expected{"G", "K", "K", "KH6", "KH6"};
        QStringList rows;
        DM->Table4.first();
        rows << dxccRow();
        for (const char *text : {"K", "KH", "KH6", "KH6Z"}) {
            AwDx->MaskEdit1->setText(QString::fromLatin1(text));
            rows << dxccRow();
        }
        QCOMPARE(rows, expected);
    }

    void deleteAndClear()
    {
        DM->Table4.first();
        dialogs_->answers = {Ui::Answer::No};
        AwDx->EditDel->click();
        QCOMPARE(DM->Table4.recordCount(), 5);
        dialogs_->answers = {Ui::Answer::Yes};
        AwDx->EditDel->click();
        QCOMPARE(DM->Table4.recordCount(), 4);
        QCOMPARE(dialogs_->questions(), (QStringList{"DXCC Counry deleted", "DXCC Counry deleted"}));

        dialogs_->answers = {Ui::Answer::No};
        AwDx->AwardClRussUkr1->click();
        Db::Table ur(&DM->Database4, "UR");
        ur.open();
        QCOMPARE(ur.fieldByName("B21").asString(), QStringLiteral("cfm"));
        ur.edit();
        ur.fieldByName("QslSend").setAsString("Kyiv region");
        ur.fieldByName("B21Cw").setAsString("cfm");
        ur.post();
        dialogs_->answers = {Ui::Answer::Yes};
        AwDx->AwardClRussUkr1->click();
        ur.refresh();
        QCOMPARE(ur.fieldByName("B21").asString(), QString());
        QCOMPARE(ur.fieldByName("QslSend").asString(), QStringLiteral("Kyiv region"));
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("Russ - Ukr worked"));
        QCOMPARE(AwDx->LabelTC->text(), QStringLiteral("0"));
        QCOMPARE(dialogs_->questions().mid(2), (QStringList{"Clear Russ - Ukr ?", "Clear Russ - Ukr ?"}));
    }
};

QTEST_MAIN(TestAwardsWindow)
#include "TestAwardsWindow.moc"
