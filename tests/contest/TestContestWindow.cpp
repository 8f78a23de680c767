// Contest start and end from the main window, the contest window's panels
// and points total, the sent number at Begin and the received-number keys.

#include "../core/ProgramFixture.h"
#include "../core/SamplePrefixes.h"

#include "contest/ContestCount.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"

#include <QtTest>

namespace {

using Rows = QList<QList<std::pair<QString, QString>>>;

void press(QWidget *field, int key)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QApplication::sendEvent(field, &event);
    }
}

QStringList columns(const Db::Table &log)
{
    QStringList names;
    for (const Db::FieldView &v : log.visibleFields())
        names << v.name;
    return names;
}

// The widget flags Begin and End change.
QList<bool> entryFlags()
{
    QList<bool> flags;
    for (QWidget *w : {static_cast<QWidget *>(Form3->Label5), static_cast<QWidget *>(Form3->Label6),
                       static_cast<QWidget *>(Form3->MaskEditName), static_cast<QWidget *>(Form3->MaskEditQth),
                       static_cast<QWidget *>(Form3->Label32), static_cast<QWidget *>(Form3->Label33),
                       static_cast<QWidget *>(Form3->EditNmTx), static_cast<QWidget *>(Form3->EditNmRx),
                       static_cast<QWidget *>(Form3->LabelPw), static_cast<QWidget *>(Form3->LabelPw1)})
        flags << w->isHidden() << w->isEnabled();
    flags << Form3->ContStart->isChecked() << Form3->ContStop->isChecked() << Form3->OptionRep->isEnabled()
          << Cont->isVisible();
    return flags;
}

} // namespace

class TestContestWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    void start(const Rows &log = {})
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        if (!log.isEmpty())
            program_->addRows("Log/Log1", "Tarnel", log);
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        Form3->Timer1->stop();
        Form3->MaskEditDate->setText("08.12.2026");
        Form3->MaskEditTime->setText("20:00:00");
    }

private slots:
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    void sentNumberAtBegin_data()
    {
        QTest::addColumn<Rows>("log");
        QTest::addColumn<bool>("byCall");
        QTest::addColumn<bool>("addTo");
        QTest::addColumn<QString>("sent");
        auto row = [](const char *call, const char *sent) {
            return QList<std::pair<QString, QString>>{{"LogCall", call}, {"LogDate", "01.03.2024"}, {"Log3", sent}};
        };
        QTest::newRow("009") << Rows{row("DL1AA", "009")} << false << true << "010";
        QTest::newRow("999") << Rows{row("DL1AA", "999")} << false << true << "1000";
        QTest::newRow("7") << Rows{row("DL1AA", "7")} << false << true << "008";
        QTest::newRow("latest, though sorted by call")
            << Rows{row("ZZ1ZZ", "041"), row("AA1AA", "099")} << true << true << "100";
        QTest::newRow("A12 keeps the text") << Rows{row("DL1AA", "A12")} << false << true << "001";
        QTest::newRow("no sent number") << Rows{row("DL1AA", "")} << false << true << "001";
        QTest::newRow("empty log") << Rows{} << false << true << "001";
        QTest::newRow("first number without Add to") << Rows{row("DL1AA", "009")} << false << false << "050";
    }
    void sentNumberAtBegin()
    {
        QFETCH(Rows, log);
        QFETCH(bool, byCall);
        QFETCH(bool, addTo);
        QFETCH(QString, sent);
        start(log);
        if (byCall)
            Form3->ViewSortCall->click();
        ContConf->CheckBoxSen->setChecked(addTo);
        if (!addTo)
            ContConf->EditSen->setText("050");
        Form3->ContStart->click();
        QCOMPARE(Form3->EditNmTx->text(), sent);
    }

    // Begin then End from the start-up state gives every flag and column back;
    // a name fixed in the settings stays locked and is saved.
    void beginThenEndRestores()
    {
        start();
        Config->CheckBoxName->setChecked(true);
        Form3->MaskEditName->setText("Ivan");
        Form3->MaskEditName->setEnabled(false);
        const QList<bool> flags = entryFlags();
        const QStringList mainColumns = columns(DM->Table1);
        const QStringList secondColumns = columns(DM->Table7);

        Form3->ContStart->click();
        QVERIFY(Form3->ContStart->isChecked());
        QVERIFY(!Form3->ContStop->isChecked());
        QVERIFY(Cont->isVisible());
        QVERIFY(!Form3->OptionRep->isEnabled());
        QVERIFY(Form3->MaskEditName->isHidden());
        QVERIFY(!Form3->EditNmRx->isHidden());
        QCOMPARE(columns(DM->Table7).mid(0, 9),
                 (QStringList{"LogCall", "LogDate", "LogTime", "LogBand", "LogMode", "LogRxRst", "LogTxRst", "Log2",
                              "Log3"}));
        QVERIFY(columns(DM->Table1).contains("Log3"));
        QVERIFY(!columns(DM->Table1).contains("LogName"));

        Form3->ContStop->click();
        QCOMPARE(entryFlags(), flags);
        QCOMPARE(columns(DM->Table1), mainColumns);
        QCOMPARE(columns(DM->Table7), secondColumns);

        Form3->MaskEditCall->setText("UR5ABC");
        Form3->ButtonSave->click();
        QCOMPARE(DM->Table1.fieldByName("LogName").asString(), QStringLiteral("Ivan"));
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Ivan"));
    }

    void receivedNumberKeys_data()
    {
        QTest::addColumn<bool>("contest");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("saved");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Enter in a contest") << true << int(Qt::Key_Return) << 1 << "";
        QTest::newRow("Enter outside") << false << int(Qt::Key_Enter) << 1 << "";
        QTest::newRow("Down in a contest") << true << int(Qt::Key_Down) << 0 << "MaskEditCall";
        QTest::newRow("Up in a contest") << true << int(Qt::Key_Up) << 0 << "MaskEditRstRx";
        QTest::newRow("Down outside") << false << int(Qt::Key_Down) << 0 << "EditNmRx";
        QTest::newRow("Up outside") << false << int(Qt::Key_Up) << 0 << "EditNmRx";
    }
    void receivedNumberKeys()
    {
        QFETCH(bool, contest);
        QFETCH(int, key);
        QFETCH(int, saved);
        QFETCH(QString, focus);
        start();
        if (contest)
            Form3->ContStart->click();
        Form3->activateWindow();
        Form3->EditNmRx->show();
        Form3->EditNmRx->setFocus();
        QTRY_VERIFY(Form3->EditNmRx->hasFocus());
        Form3->MaskEditCall->setText("UR5ABC");
        Form3->EditNmRx->setText("017");
        press(Form3->EditNmRx, key);
        QCOMPARE(DM->Table1.recordCount(), saved);
        if (saved && contest)
            QCOMPARE(DM->Table1.fieldByName("Log2").asString(), QStringLiteral("017"));
        if (!focus.isEmpty())
            QTRY_COMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), focus);
    }

    // "3", "1,5", "0" and an imported contact without points.
    void pointsRecount()
    {
        start({{{"LogCall", "A1"}, {"Log4", "3"}},
               {{"LogCall", "A2"}, {"Log4", "1,5"}},
               {{"LogCall", "A3"}, {"Log4", "0"}},
               {{"LogCall", "A4"}, {"Log4", ""}}});
        const qint64 row = DM->Table1.currentRowId();
        Cont->Button1->click();
        QCOMPARE(Cont->Label5->text(), QStringLiteral("4,5"));
        QCOMPARE(DM->Table1.currentRowId(), row);
        QVERIFY(DM->DataSource1.isEnabled());
        // A band change during a contest counts again.
        Form3->ContStart->click();
        Cont->Label5->setText("999");
        Form3->ComboBoxBand->setCurrentText("7");
        QCOMPARE(Cont->Label5->text(), QStringLiteral("4,5"));
    }

    void recountStopsAtABadText()
    {
        start({{{"LogCall", "A1"}, {"Log4", "2"}}, {{"LogCall", "A2"}, {"Log4", "x"}}, {{"LogCall", "A3"}, {"Log4", "5"}}});
        Cont->Button1->click();
        QCOMPARE(Cont->Label5->text(), QStringLiteral("2"));
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY(DM->DataSource1.isEnabled());
    }

    void panels_data()
    {
        QTest::addColumn<int>("info");
        QTest::addColumn<QString>("shown");
        QTest::newRow("DXCC") << 0 << "GroupBox2";
        QTest::newRow("WAZ") << 1 << "GroupBox3";
        QTest::newRow("Ukraine") << 2 << "GroupBox4";
        QTest::newRow("Russia") << 3 << "GroupBox4";
    }
    void panels()
    {
        QFETCH(int, info);
        QFETCH(QString, shown);
        start();
        ContConf->RadioGroup1->setItemIndex(info);
        Form3->ContStart->click();
        for (TAwardPanel *p : {Cont->GroupBox2, Cont->GroupBox3, Cont->GroupBox4})
            QCOMPARE(p->isVisible(), p->objectName() == shown);
        QVERIFY(Cont->GroupBox7->isVisible());
    }

    // The cells follow the current award row; the 3.5 MHz RTTY cell is B35Rtty.
    void cellsFollowTheRow()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        program_->addRows("Awrds", "Dxcc", {{{"Prefix", "DL"}, {"B35Rtty", "cfm"}, {"B35Ssb", "wkd"}, {"SatOther", "wkd"}}});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->MaskEditCall->setText("DL1AA");
        QCOMPARE(Cont->GroupBox2->cell("Prefix")->text(), QStringLiteral("DL"));
        QCOMPARE(Cont->GroupBox2->cell("B35Rtty")->text(), QStringLiteral("cfm"));
        QCOMPARE(Cont->GroupBox2->cell("B35Ssb")->text(), QStringLiteral("wkd"));
        QCOMPARE(Cont->GroupBox2->cell("SatOther")->text(), QStringLiteral("wkd"));
        QCOMPARE(Cont->GroupBox2->cell("B16Cw")->text(), QString());
        QVERIFY(Cont->GroupBox3->cell("B35RTTY")); // Waz spells its fields in capitals
    }

    // A save marks the award table; the panel on show reads the mark at once.
    void panelShowsTheMarkOfASave()
    {
        start();
        Form3->OptionRep->click();
        Form3->ComboBoxBand->setCurrentText("14");
        Form3->ComboBoxMode->setCurrentText("CW");
        Form3->MaskEditCall->setText("DL1AA");
        // The entity's first contact: the table has no row for it yet.
        QCOMPARE(Cont->GroupBox2->cell("Prefix")->text(), QString());
        QCOMPARE(Cont->GroupBox2->cell("B14Cw")->text(), QString());
        Form3->ButtonSave->click();
        QVERIFY(dialogs_->shown.isEmpty());
        QCOMPARE(Cont->GroupBox2->cell("Prefix")->text(), QStringLiteral("DL"));
        QCOMPARE(Cont->GroupBox2->cell("B14Cw")->text(), QStringLiteral("wkd"));
    }

    void repetitionView()
    {
        start();
        Form3->OptionRep->click();
        QVERIFY(Form3->OptionRep->isChecked());
        QVERIFY(Cont->isVisible());
        QVERIFY(Cont->GroupBox2->isVisible());
        QVERIFY(!Cont->GroupBox7->isVisible());
        QVERIFY(Cont->GroupBox9->isVisible());
        QVERIFY(columns(DM->Table7).contains("LogCall"));
        Cont->Button3->click();
        QVERIFY(Cont->GroupBox3->isVisible() && !Cont->GroupBox2->isVisible());
        Form3->OptionRep->click();
        QVERIFY(!Form3->OptionRep->isChecked());
        QVERIFY(!Cont->isVisible());
        // Begin unticks and locks it; "View Info" begins a contest.
        Form3->OptionRep->click();
        Form3->View1->click();
        QVERIFY(Form3->ContStart->isChecked());
        QVERIFY(!Form3->OptionRep->isChecked());
        QVERIFY(!Form3->OptionRep->isEnabled());
    }
};

QTEST_MAIN(TestContestWindow)
#include "TestContestWindow.moc"
