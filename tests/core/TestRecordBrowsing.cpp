#include "ProgramFixture.h"

#include "awards/FIota.h"
#include "awards/FWas.h"
#include "core/GlavnMod.h"
#include "core/RecordBrowsing.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"
#include "utilities/UImage.h"

namespace {

using Row = QList<std::pair<QString, QString>>;

// Log rows in date order: each test browses with first() and next().
Row contact(const QString &call, const QString &time, const QString &notepad = {}, const QString &other = {})
{
    return {{"LogCall", call},        {"LogDate", "01.03.2024"},  {"LogTime", time},
            {"LogTxQsl", call + "-S"}, {"LogRxQsl", call + "-R"}, {"LogObl", call + " land"},
            {"LogNotepad", notepad},  {"LogOther", other}};
}

// Browses to the row of `call`.
void browseTo(const QString &call)
{
    QVERIFY(DM->Table1.locate(QStringLiteral("LogCall"), call));
}

} // namespace

class TestRecordBrowsing : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { destroyWindowSet(); }

    // ---------------------------------------------------------- plain rules

    void notepadRule_data()
    {
        QTest::addColumn<QString>("logNotepad");
        QTest::addColumn<bool>("mergeOpen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("shown");
        QTest::newRow("a note") << "QSL via bureau" << false << "QSL via bureau" << true;
        QTest::newRow("empty") << "" << false << "" << false;
        QTest::newRow("one blank") << " " << false << "" << false;
        QTest::newRow("two blanks") << "  " << false << "" << false;
        QTest::newRow("three blanks") << "   " << false << "" << false;
        QTest::newRow("four blanks are a note") << "    " << false << "    " << true;
        QTest::newRow("blanks around a word") << " x " << false << " x " << true;
        QTest::newRow("merge source open") << "QSL via bureau" << true << "QSL via bureau" << false;
    }
    void notepadRule()
    {
        QFETCH(QString, logNotepad);
        QFETCH(bool, mergeOpen);
        QFETCH(QString, text);
        QFETCH(bool, shown);
        const std::optional<RecordBrowsing::Notepad> notepad = RecordBrowsing::notepadFor(logNotepad, false, mergeOpen);
        QVERIFY(notepad);
        QCOMPARE(notepad->text, text);
        QCOMPARE(notepad->shown, shown);
        QVERIFY(!RecordBrowsing::notepadFor(logNotepad, true, mergeOpen));
    }

    void states()
    {
        QVERIFY(RecordBrowsing::editMode("Esc"));
        QVERIFY(RecordBrowsing::editMode(""));
        QVERIFY(!RecordBrowsing::editMode("Edit"));
        QVERIFY(RecordBrowsing::rowStepsRun("Save"));
        QVERIFY(!RecordBrowsing::rowStepsRun("JKL"));
        QVERIFY(!RecordBrowsing::picturesFollow("New", true));
        QVERIFY(RecordBrowsing::picturesFollow("Old", true));
        QVERIFY(RecordBrowsing::picturesFollow("vse", true));
        QVERIFY(!RecordBrowsing::picturesFollow("vse", false));
    }

    // ---------------------------------------------------- the real windows

    void rowIsShown()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {contact("UR5AA", "10:00:00"), contact("DL1AB", "11:00:00"), contact("K1ABC", "12:00:00")});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Form3->Edit2->hide();
        Form3->Edit3->hide();
        browseTo("DL1AB");
        QCOMPARE(Form3->Total->text(), QStringLiteral("3"));
        QCOMPARE(Form3->Edit2->text(), QStringLiteral("DL1AB-S"));
        QCOMPARE(Form3->Edit3->text(), QStringLiteral("DL1AB-R"));
        QVERIFY(!Form3->Edit2->isHidden());
        QVERIFY(!Form3->Edit3->isHidden());
        QCOMPARE(Form3->Label35->text(), QStringLiteral("DL1AB land"));
        // No note: the notepad is closed even where the box was not ticked.
        QVERIFY(!Form3->CheckBoxNot->isChecked());
        QCOMPARE(Form3->MemoNot->height(), 0);
        // The count follows the range.
        DM->Table1.setIndexName(QStringLiteral("ByCall"));
        DM->Table1.setRange(QStringLiteral("UR5AA"), QStringLiteral("UR5AA"));
        QCOMPARE(Form3->Total->text(), QStringLiteral("1"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // From a row with a note to the row under test.
    void notepadFollowsTheRow_data()
    {
        QTest::addColumn<QString>("logNotepad");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("shown");
        QTest::newRow("a note") << "second note" << "second note" << true;
        QTest::newRow("none") << "" << "" << false;
        QTest::newRow("one blank") << " " << "" << false;
        QTest::newRow("three blanks") << "   " << "" << false;
        QTest::newRow("four blanks") << "    " << "    " << true;
    }
    void notepadFollowsTheRow()
    {
        QFETCH(QString, logNotepad);
        QFETCH(QString, text);
        QFETCH(bool, shown);
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {contact("UR5AA", "10:00:00", "first note"), contact("DL1AB", "11:00:00", logNotepad)});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        browseTo("UR5AA");
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("first note"));
        QVERIFY(Form3->CheckBoxNot->isChecked());
        browseTo("DL1AB");
        QCOMPARE(Form3->MemoNot->toPlainText(), text);
        QCOMPARE(Form3->CheckBoxNot->isChecked(), shown);
        QCOMPARE(Form3->MemoNot->height(), shown ? 50 : 0);
    }

    void mergeSourceOpenFillsWithoutOpening()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel", {contact("UR5AA", "10:00:00"), contact("DL1AB", "11:00:00", "note")});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        DM->Database6.setDirectory(program.path("Log/Log2"));
        DM->Database6.open();
        DM->Table6.open();
        browseTo("UR5AA");
        browseTo("DL1AB");
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("note"));
        QVERIFY(!Form3->CheckBoxNot->isChecked());
        QCOMPARE(Form3->MemoNot->height(), 0);
    }

    void referenceWindowsFollowTheRow()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {contact("UR5AA", "10:00:00", {}, "iEU-038oRugen"), contact("DL1AB", "11:00:00")});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->CBIota->setChecked(true);
        Config->CBWas->setChecked(true);
        browseTo("UR5AA");
        QVERIFY(FIota->isVisible());
        QCOMPARE(FIota->Edit1->text(), QStringLiteral("EU"));
        QCOMPARE(FIota->Edit2->text(), QStringLiteral("038"));
        QVERIFY(!FWas->isVisible());
        browseTo("DL1AB");
        QVERIFY(!FIota->isVisible());
        QVERIFY(FIota->Edit1->text().isEmpty());
    }

    // The contact being edited keeps its notepad, QSL overlays and
    // reference, whatever row the grid moves to.
    void editModeLeavesTheEditedContactAlone()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {contact("UR5AA", "10:00:00", "edited note", "iEU-038oRugen"),
                         contact("DL1AB", "11:00:00", "other note", "wTXoAustin"), contact("K1ABC", "12:00:00")});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->CBIota->setChecked(true);
        Config->CBWas->setChecked(true);
        browseTo("UR5AA");
        Form3->ButtonEdit->setText(QStringLiteral("Esc"));
        Form3->MemoNot->setPlainText(QStringLiteral("edited note, changed"));
        Form3->Edit2->hide();
        Form3->Edit3->hide();
        for (const QString &call : {QStringLiteral("DL1AB"), QStringLiteral("K1ABC")}) {
            browseTo(call);
            QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("edited note, changed"));
            QVERIFY(Form3->CheckBoxNot->isChecked());
            QCOMPARE(Form3->Edit2->text(), QStringLiteral("UR5AA-S"));
            QVERIFY(Form3->Edit2->isHidden());
            QVERIFY(Form3->Edit3->isHidden());
            QVERIFY(FIota->isVisible());
            QCOMPARE(FIota->Edit1->text(), QStringLiteral("EU"));
            QVERIFY(!FWas->isVisible());
        }
        Form3->ButtonEdit->setText(QStringLiteral("Edit"));
        browseTo("DL1AB");
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("other note"));
        QVERIFY(FWas->isVisible());
    }

    void whileSavingOnlyThePictureStepRuns()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel", {contact("UR5AA", "10:00:00", "note"), contact("DL1AB", "11:00:00")});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        browseTo("UR5AA");
        Form3->Label23->setText(QStringLiteral("vse"));
        Form3->Label24->setText(QStringLiteral("JKL"));
        FImage->show();
        browseTo("DL1AB");
        QCOMPARE(Form3->Label35->text(), QStringLiteral("UR5AA land"));
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("note"));
        QVERIFY(!FImage->isVisible());
    }

    void pictureStep_data()
    {
        QTest::addColumn<QString>("startup");
        QTest::addColumn<bool>("autoView");
        QTest::addColumn<bool>("visible");
        QTest::newRow("no picture closes the window") << "vse" << true << false;
        QTest::newRow("Auto View Images unchecked") << "vse" << false << true;
        QTest::newRow("before the first activation") << "New" << true << true;
    }
    void pictureStep()
    {
        QFETCH(QString, startup);
        QFETCH(bool, autoView);
        QFETCH(bool, visible);
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel", {contact("UR5AA", "10:00:00"), contact("DL1AB", "11:00:00")});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Form3->Label23->setText(startup);
        Form3->AutoViewImages1->setChecked(autoView);
        FImage->show();
        browseTo("DL1AB");
        QCOMPARE(FImage->isVisible(), visible);
    }
};

QTEST_MAIN(TestRecordBrowsing)
#include "TestRecordBrowsing.moc"
