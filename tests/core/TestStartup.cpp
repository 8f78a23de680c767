#include "ProgramFixture.h"

#include "awards/UDxcc.h"
#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "core/TableSchemas.h"
#include "lookups/UVCD.h"
#include "platform/table/DbGrid.h"
#include "platform/table/GridModel.h"
#include "platform/ui/Dialogs.h"
#include "utilities/UPrntrContest.h"

#include <QDirIterator>
#include <QProcess>
#include <QSignalSpy>
#include <csignal>

namespace {

// Runs the first activation and waits for the start-up timer to finish it.
void startUp()
{
    Form3->showWindow();
    QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { destroyWindowSet(); }

    void windowsAreCreatedInTheirOrder()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        const QStringList expected{
            "Form3",   "FIota",    "FWas",      "FDipB",  "FDipA",   "Config",        "DM",     "Form1",
            "AwDx",    "FoTimer",  "SoundR",    "Povt",   "VCD",     "Filter",        "AddPref", "FormEditPref",
            "Progress", "AboutBox", "FUtil",    "ContConf", "Cont",  "FiltCal",       "FVihod", "FSkeds",
            "Flabel",  "FLabPrint", "FMemAw",   "FCW",    "FPtt",    "FImage",        "FConfirm", "FPrntr",
            "FUpdate", "MixT",     "FDX_Cluster", "QRZ",  "FCabrillo", "FPrintContest"};
        QCOMPARE(windowSetOrder(), expected);
        QCOMPARE(Form3->windowTitle(), QStringLiteral("Tarnel"));
        QCOMPARE(AwDx->windowTitle(), QStringLiteral("Awards"));
        QCOMPARE(Config->windowTitle(), QStringLiteral("Configuration"));
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(Form3->EditDir->text(), program.path());
        QCOMPARE(Form3->Label23->text(), QStringLiteral("New"));
        QCOMPARE(Form3->Label24->text(), QStringLiteral("Save"));
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Edit"));
        QCOMPARE(Form3->minimumSize(), QSize(528, 485));
        QVERIFY(Form3->Timer1->isActive());
        QVERIFY(!Form3->Timer2->isActive());
        QCOMPARE(Form3->Timer2->interval(), 10);
    }

    // A missing table is reported by name; the other tables and the later
    // windows are there all the same. The box stays open a while, as for an
    // operator who reads it: the clock must not tick into windows that do
    // not exist yet.
    void missingTableIsReportedAndStartUpGoesOn()
    {
        ProgramFixture program;
        QVERIFY(QFile::remove(program.path("Sound/Table/Sound.db")));
        Ui::ScriptedDialogs dialogs;
        dialogs.onShow = [](const Ui::ScriptedDialogs::Shown &) { QTest::qWait(2000); };
        createWindowSet();
        QVERIFY(Form3->Timer1->isActive());
        QCOMPARE(dialogs.errors().size(), 1);
        QVERIFY(dialogs.errors().first().contains("Sound.db"));
        QVERIFY(!DM->TableS.isActive());
        for (Db::Table *t : {&DM->TableR, &DM->Table1, &DM->Table7, &DM->Table2, &DM->Table3, &DM->Table4,
                             &DM->Table9, &DM->Table5})
            QVERIFY2(t->isActive(), qPrintable(t->tableName()));
        QVERIFY(FPrintContest != nullptr);
        QCOMPARE(windowSetOrder().size(), 38);
    }

    // A log damaged after its header: one box names it, whatever start-up,
    // the second log cursor and the settings' column changes then try.
    void damagedLogIsReportedOnce()
    {
        ProgramFixture program;
        const QString log = program.path("Log/Log1/Tarnel.db");
        program.addRows("Log/Log1", "Tarnel", QList<QList<std::pair<QString, QString>>>(3000, {{"LogCall", "UR5AAA"}, {"LogQth", "Some place far away"}}));
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > 4096);
        const qint64 from = file.size() / 2;
        file.seek(from);
        file.write(QByteArray(int(file.size() - from), '\x5a'));
        file.close();
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QCOMPARE(dialogs.errors().size(), 1);
        QVERIFY2(dialogs.errors().first().contains("Tarnel.db"), qPrintable(dialogs.errors().first()));
        QVERIFY(!DM->Table1.isActive());
        QVERIFY(!DM->Table7.isActive());
    }

    // What the operator reads must show whole: each band indicator under its
    // own band caption, and the log's dates and times not cut.
    void indicatorsAndLogColumnsReadWhole()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {{{"LogCall", "UR5AAA"}, {"LogDate", "28.12.2026"}, {"LogTime", "20:08:08"}}});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Form3->resize(900, 700);
        QApplication::processEvents();
        QLabel *const marks[] = {Form3->Labelin18, Form3->Labelin35, Form3->Labelin7, Form3->LabelIn10,
                                 Form3->LabelIn14, Form3->LabelIn180, Form3->LabelIn21, Form3->LabelIn24,
                                 Form3->LabelIn28, Form3->LabelIn50, Form3->LabelInS};
        const QStringList bands = Form3->Label18->text().split(' ');
        for (int i = 0; i < int(std::size(marks)); ++i) {
            auto *caption = Form3->findChild<QLabel *>(QStringLiteral("Label18_%1").arg(i));
            QVERIFY(caption);
            QCOMPARE(caption->text(), bands[i]);
            const QRect under = caption->geometry();
            const int x = marks[i]->geometry().center().x();
            QVERIFY2(under.left() <= x && x <= under.right(), qPrintable(bands[i]));
        }
        Db::DbGrid *grid = Form3->DBGridLog;
        const QFontMetrics metrics = grid->fontMetrics();
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            const QString text = grid->model()->index(0, c).data().toString();
            QVERIFY2(grid->columnWidth(c) > metrics.horizontalAdvance(text), qPrintable(text));
        }
    }

    // A logout or `kill` ends the program as its Exit item does: every table
    // is checkpointed, so each copied .db file holds every contact.
    void terminationSignalsCloseTheTables_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void terminationSignalsCloseTheTables()
    {
        QFETCH(int, signal);
        ProgramFixture program;
        QProcess app;
        app.setWorkingDirectory(program.path());
        app.start(TARNEL_APP, {});
        QVERIFY(app.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(program.path("Log/Log1/Tarnel.db-wal")), 20000);
        QTest::qWait(300);
        ::kill(pid_t(app.processId()), signal);
        QVERIFY(app.waitForFinished(20000));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QDirIterator files(program.path(), {"*-wal", "*-shm"}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!files.hasNext(), qPrintable(files.hasNext() ? files.next() : QString()));
    }

    // The program directory vanished under the program: the data module's
    // creation handler fails, is reported, and every later window exists.
    void failingCreationHandlerIsReportedAndStartUpGoesOn()
    {
        const QString previous = QDir::currentPath();
        {
            QTemporaryDir gone;
            QDir::setCurrent(gone.path());
        }
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        QDir::setCurrent(previous);
        QCOMPARE(dialogs.warnings(), QStringList{"Warning Error!"});
        QCOMPARE(dialogs.errors().size(), 1);
        QVERIFY(dialogs.errors().first().contains("Tarnel"));
        QCOMPARE(windowSetOrder().size(), 38);
        QVERIFY(FPrintContest != nullptr);
        QCOMPARE(Form3->EditDir->text(), QString());
    }

    void tableOfAnotherLayoutIsReportedByName()
    {
        ProgramFixture program;
        QVERIFY(QFile::remove(program.path("Awrds/Waz.db")));
        Db::TableSchema older = TableSchemas::waz();
        older.layoutVersion = 0;
        Db::createTableFile(program.path("Awrds/Waz.db"), older);
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        QCOMPARE(dialogs.errors().size(), 1);
        QVERIFY(dialogs.errors().first().contains(program.path("Awrds/Waz.db")));
        QVERIFY(dialogs.errors().first().contains("layout"));
        QVERIFY(!DM->Table5.isActive());
        QVERIFY(DM->Table4.isActive());
    }

    void noTablesAtAllStillBringsTheWindowsUp()
    {
        QTemporaryDir empty;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(empty.path());
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        QDir::setCurrent(previous);
        // Sound, Rez, Allpref, Prefix, Dxcc, UR, Waz and the log (once, not
        // again for its second cursor), each reported by its own file name.
        QCOMPARE(dialogs.errors().size(), 8);
        for (const char *file : {"Sound.db", "Rez.db", "Allpref.db", "Prefix.db", "Dxcc.db", "UR.db", "Waz.db"})
            QCOMPARE(dialogs.errors().filter(file).size(), 1);
        QCOMPARE(dialogs.errors().filter("Tarnel.db").size(), 1);
        QCOMPARE(windowSetOrder().size(), 38);
        QVERIFY(!DM->Table1.isActive());
    }

    void firstActivationShowsSettingsThenTimerHidesThem()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Form3->showWindow();
        QCOMPARE(Form3->Label23->text(), QStringLiteral("Old"));
        QVERIFY(Config->isVisible());
        QVERIFY(Form3->Timer2->isActive());
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        QVERIFY(!Config->isVisible());
        QVERIFY(!Form3->Timer2->isActive());
        QCOMPARE(Form3->MemoNot->height(), 0);
        QVERIFY(!Form3->LogAddLog1->isVisible());
        QVERIFY(Form3->LogAddLog2->isVisible());
        QVERIFY(Form3->LogAddLog3->isVisible());
        QCOMPARE(Form3->MaskEditCall->focusPolicy(), Qt::StrongFocus);
        QVERIFY(dialogs.shown.isEmpty());
    }

    // A log with a damaged page still opens; the check of the whole file
    // that follows the start-up says so beside the entry, which keeps the
    // keyboard.
    void damagedLogIsReportedAfterStartUp()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        const QString log = program.path("Log/Log1/Tarnel.db");
        {
            Db::Database db;
            db.setDirectory(QFileInfo(log).absolutePath());
            Db::Table t(&db, "Tarnel");
            t.open();
            Db::TableTransaction walk(t);
            for (int i = 0; i < 3000; ++i) {
                t.append();
                t.fieldByName("LogCall").setAsString(QStringLiteral("UR%1AA").arg(i));
                t.fieldByName("LogName").setAsString(QString(40, u'n'));
                t.post();
            }
            walk.commit();
        }
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(10 * 4096) && file.write(QByteArray(4096, '\x55')) == 4096);
        file.close();
        createWindowSet();
        startUp();
        QTRY_VERIFY(Form3->LogDamage->isVisible());
        QVERIFY(Form3->LogDamage->text()->text().startsWith(log + " is damaged: "));
        QVERIFY(Form3->LogDamage->testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void laterActivationsDoNothing()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        Config->CheckBoxVCD->setChecked(true); // would open the base if it ran again
        Form3->LogAddLog1->setVisible(true);
        Form3->FormActivate();
        AwDx->showWindow();
        AwDx->makeInvisible();
        Form3->showWindow();
        QVERIFY(!Config->isVisible());
        QCOMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        QVERIFY(Form3->LogAddLog1->isVisible());
        QVERIFY(!DM->Table8.isActive());
        QVERIFY(dialogs.shown.isEmpty());
    }

    void externalBaseOpensExactlyWhenEnabled_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << true;
        QTest::newRow("disabled") << false;
    }
    void externalBaseOpensExactlyWhenEnabled()
    {
        QFETCH(bool, enabled);
        ProgramFixture program;
        QDir().mkpath(program.path("VCD"));
        Db::createTableFile(program.path("VCD/cs.db"), TableSchemas::cs());
        program.addRows("VCD", "cs", {{{"CallSign", "UR5AA"}}});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Config->EditVCD->setText(program.path("VCD"));
        Config->CheckBoxVCD->setChecked(enabled);
        startUp();
        QCOMPARE(DM->Table8.isActive(), enabled);
        if (enabled) {
            QCOMPARE(DM->Database8.directory(), program.path("VCD"));
            QCOMPARE(DM->Table8.fieldByName("CallSign").asString(), QStringLiteral("UR5AA"));
        }
        QVERIFY(dialogs.shown.isEmpty());
    }

    void defaultExternalBaseIsALinuxPath()
    {
        QVERIFY(defaultVcdDirectory().startsWith(QDir::homePath()));
        QVERIFY(defaultVcdDirectory().endsWith("/Callbk/VCD"));
    }

    void logGridStandsOnTheLastContactByDateAndTime()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {{{"LogCall", "LATEST"}, {"LogDate", "02.01.2024"}, {"LogTime", "10:00:00"}},
                         {{"LogCall", "OLDEST"}, {"LogDate", "01.01.2023"}, {"LogTime", "23:00:00"}},
                         {{"LogCall", "MIDDLE"}, {"LogDate", "02.01.2024"}, {"LogTime", "09:59:59"}}});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByDatTim"));
        QCOMPARE(DM->Table1.fieldByName("LogCall").asString(), QStringLiteral("LATEST"));
        Db::GridModel *grid = Form3->DBGridLog->gridModel();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Callsignal"));
        QCOMPARE(grid->data(grid->index(2, 0)).toString(), QStringLiteral("LATEST"));
        QCOMPARE(Form3->DBGridLog->currentIndex().row(), 2);
    }

    void secondCursorNeverMovesTheGrid()
    {
        ProgramFixture program;
        program.addRows("Log/Log1", "Tarnel",
                        {{{"LogCall", "UR5AA"}, {"LogDate", "01.01.2024"}},
                         {{"LogCall", "DL1AA"}, {"LogDate", "02.01.2024"}}});
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        const qint64 row = DM->Table1.currentRowId();
        QSignalSpy browsing(&DM->DataSource1, &Db::DataSource::dataChange);
        DM->Table7.setIndexName("ByCall");
        QVERIFY(DM->Table7.locate("LogCall", "UR5AA"));
        DM->Table7.setRange("UR", "URZZZZ");
        DM->Table7.first();
        QCOMPARE(DM->Table1.currentRowId(), row);
        QCOMPARE(Form3->DBGridLog->gridModel()->currentRow(), 1);
        QCOMPARE(browsing.count(), 0);
    }

    void callbookTablesOpenOnlyWhenTheirFilesExist()
    {
        ProgramFixture program;
        Db::createTableFile(program.path("Base/Cbook2.db"), TableSchemas::cbookQrz("Cbook2"));
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        QVERIFY(DM->TabCbQRZ2.isActive());
        QVERIFY(!DM->TabCbQRZ1.isActive());
        QVERIFY(!DM->TableCllbk.isActive());
        QVERIFY(dialogs.shown.isEmpty());
    }

    void textSetFromCodeRunsTheChangeHandlerOnce()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        QSignalSpy changes(Form3->MaskEditCall, &QLineEdit::textChanged);
        Form3->MaskEditCall->setText("ur5abc");
        QCOMPARE(changes.count(), 1);
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("UR5ABC"));
        QCOMPARE(changes.first().first().toString(), QStringLiteral("UR5ABC"));
        Form3->MaskEditCall->setText("UR5ABC");
        QCOMPARE(changes.count(), 1);
    }

    void checkBoxSetFromCodeRunsItsClickOnlyOnAChange()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        startUp();
        QSignalSpy clicks(Form3->CheckBoxNot, &QCheckBox::toggled);
        Form3->CheckBoxNot->setChecked(true);
        QCOMPARE(Form3->MemoNot->height(), 50);
        Form3->CheckBoxNot->setChecked(true);
        QCOMPARE(clicks.count(), 1);
        Form3->CheckBoxNot->setChecked(false);
        QCOMPARE(Form3->MemoNot->height(), 0);
        QCOMPARE(clicks.count(), 2);
    }

    void menuMarksAtCreationAndExclusiveGroups()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        QStringList checked;
        for (Ui::MenuItem *item : Form3->menuItems())
            if (item->isChecked())
                checked << item->objectName();
        QCOMPARE(checked, (QStringList{"LogLog1", "ViewSortDate", "AutoViewImages1", "ContStop", "TimStopClear",
                                       "TimQSO", "OptionDXCC"}));
        for (Ui::RadioGroup *group : {&Form3->GroupLog, &Form3->GroupSort, &Form3->GroupContest,
                                      &Form3->GroupTimer1, &Form3->GroupTimer2, &Form3->GroupInfo}) {
            for (Ui::MenuItem *item : group->items()) {
                item->setChecked(true);
                int count = 0;
                for (Ui::MenuItem *other : group->items())
                    count += other->isChecked() ? 1 : 0;
                QCOMPARE(count, 1);
            }
        }
    }

    void autoViewImagesTogglesOnce()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Form3->AutoViewImages1->trigger();
        QVERIFY(!Form3->AutoViewImages1->isChecked());
        Form3->AutoViewImages1->click();
        QVERIFY(Form3->AutoViewImages1->isChecked());
    }

    void vcdItemWarnsWhenTheBaseIsOff()
    {
        ProgramFixture program;
        Ui::ScriptedDialogs dialogs;
        createWindowSet();
        Form3->VCD1->click();
        QCOMPARE(dialogs.warnings(), QStringList{"VCD is not connected !"});
        QVERIFY(!VCD->isVisible());
        Config->CheckBoxVCD->setChecked(true);
        Form3->VCD1->click();
        QVERIFY(VCD->isVisible());
    }
};

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
