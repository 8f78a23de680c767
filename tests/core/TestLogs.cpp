#include "ProgramFixture.h"
#include "SamplePrefixes.h"

#include "core/FiltCal.h"
#include "core/Filter.h"
#include "core/GlavnMod.h"
#include "core/LogFilter.h"
#include "core/Progress.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <sqlite3.h>

namespace {

void runSql(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QStringList calls(Db::Table &table)
{
    QStringList list;
    for (table.first(); !table.eof(); table.next())
        list << table.fieldByName("LogCall").asString();
    return list;
}

Row contact(const char *call, const char *date, const char *country = "Ukraine")
{
    return {{"LogCall", call}, {"LogDate", date}, {"LogTime", "12:00:00"}, {"LogBand", "14"},
            {"LogObl", country}, {"LogName", "Ivan"},  {"Log2", "011"},       {"LogNotepad", "note"}};
}

} // namespace

class TestLogs : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

private slots:
    // ---- filter rules
    void callMask_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("passes");
        QTest::newRow("default mask") << "UX??????" << "UX1ABC" << true;
        QTest::newRow("default mask, eight characters") << "UX??????" << "UX1ABCDE" << true;
        QTest::newRow("default mask, nine characters") << "UX??????" << "UX1ABCDEF" << false;
        QTest::newRow("default mask, other letters") << "UX??????" << "UR1ABC" << false;
        QTest::newRow("twelve ?") << "????????????" << "DL1X" << true;
        QTest::newRow("thirteenth character untested") << "UX1?????????" << "UX1ABCDEFGHIJ" << true;
        QTest::newRow("no ?: exact") << "UX1ABC" << "UX1ABCD" << false;
    }
    void callMask()
    {
        QFETCH(QString, mask);
        QFETCH(QString, call);
        QTEST(LogFilter::callMatches(mask, call), "passes");
    }

    void criteria_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("passes");
        QTest::newRow("inside, across a year") << "02.01.2024" << "12:00:00" << "Иван" << true;
        QTest::newRow("first date excluded") << "15.12.2023" << "12:00:00" << "Иван" << false;
        QTest::newRow("last date excluded") << "10.01.2024" << "12:00:00" << "Иван" << false;
        QTest::newRow("first time excluded") << "02.01.2024" << "08:00:00" << "Иван" << false;
        QTest::newRow("other case, Cyrillic") << "02.01.2024" << "12:00:00" << "иВАН" << true;
        QTest::newRow("other name") << "02.01.2024" << "12:00:00" << "Иванко" << false;
    }
    void criteria()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, name);
        LogFilter::Criteria c;
        c.dates = std::pair{QDate(2023, 12, 15), QDate(2024, 1, 10)};
        c.times = std::pair{QStringLiteral("08:00:00"), QStringLiteral("20:00:00")};
        c.name = QStringLiteral("иван");
        const QHash<QString, QString> row{{"LogDate", date}, {"LogTime", time}, {"LogName", name}};
        QTEST(LogFilter::passes(c, [&row](const char *f) { return row.value(QString::fromLatin1(f)); }), "passes");
    }

    // ---- through the main window
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        program_->addRows("Log/Log1", "Tarnel",
                          {contact("UR5AAA", "01.01.2024"), contact("UA9XX", "02.01.2024"),
                           contact("UR5BBB", "03.01.2024")});
        program_->addRows("Log/Log2", "Tarnel",
                          {contact("DL1AB", "05.01.2024", "Fed. Rep. of Germany"), contact("G4XYZ", "06.01.2024", "England")});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // Log 2 on all three cursors: its last contact, the merge items of the
    // other two, the new-country mark from log 2's contacts.
    void switchToLog2()
    {
        Form3->LogLog2->click();
        QVERIFY(Form3->LogLog2->isChecked());
        QVERIFY(!Form3->LogLog1->isChecked());
        QCOMPARE(DM->Table1.fieldByName("LogCall").asString(), QStringLiteral("G4XYZ"));
        QVERIFY(Form3->LogAddLog1->isVisible() && Form3->LogAddLog3->isVisible() && !Form3->LogAddLog2->isVisible());
        QVERIFY(DM->LogLookup.locate("LogObl", "England"));
        QVERIFY(!DM->LogLookup.locate("LogObl", "Ukraine"));
        QCOMPARE(DM->Table7.recordCount(), 2);
    }

    // A log that does not open leaves log 1 open and ticked, with a message.
    void failedSwitchKeepsLog1()
    {
        QVERIFY(QFile::remove(program_->path("Log/Log3/Tarnel.db")));
        Form3->LogLog3->click();
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY(Form3->LogLog1->isChecked());
        QVERIFY(!Form3->LogLog3->isChecked());
        QVERIFY(DM->Table1.isActive() && DM->Table7.isActive() && DM->LogLookup.isActive());
        QCOMPARE(DM->Table1.recordCount(), 3);
    }

    // Edit mode ends with the switch: saving afterwards appends to log 2 and
    // rewrites none of its contacts.
    void switchInEditModeLeavesEditMode()
    {
        DM->Table1.first();
        Form3->ButtonEditClick();
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Esc"));
        Form3->LogLog2->click();
        QCOMPARE(Form3->ButtonEdit->text(), QStringLiteral("Edit"));
        Form3->MaskEditCall->setText("UR5CCC");
        Form3->MaskEditRstRx->setText("59");
        Form3->MaskEditRstTx->setText("59");
        Form3->ButtonSaveClick();
        QStringList log2 = calls(DM->Table1);
        log2.sort();
        QCOMPARE(log2, (QStringList{"DL1AB", "G4XYZ", "UR5CCC"}));
    }

    void mergeCopiesEveryField()
    {
        Form3->LogAddLog2->click();
        QCOMPARE(DM->Table1.recordCount(), 5);
        QVERIFY(!Progress->isVisible());
        QVERIFY(DM->DataSource1.isEnabled());
        DM->LogLookup.locate("LogCall", "G4XYZ");
        QCOMPARE(DM->LogLookup.fieldByName("LogNom").asString(), QStringLiteral("5"));
        for (const char *f : {"LogDate", "LogTime", "LogBand", "LogObl", "LogName", "Log2", "LogNotepad"})
            QVERIFY2(!DM->LogLookup.fieldByName(f).asString().isEmpty(), f);
        QCOMPARE(DM->LogLookup.fieldByName("LogObl").asString(), QStringLiteral("England"));
        Form3->LogLog2->click();
        QCOMPARE(calls(DM->Table1), (QStringList{"DL1AB", "G4XYZ"}));
    }

    // A failure in the middle of a merge or a filter changes nothing.
    void failureMidWalkChangesNothing_data()
    {
        QTest::addColumn<bool>("merge");
        QTest::newRow("merge") << true;
        QTest::newRow("filter") << false;
    }
    void failureMidWalkChangesNothing()
    {
        QFETCH(bool, merge);
        runSql(program_->path("Log/Log1/Tarnel.db"),
               merge ? "CREATE TRIGGER refuse BEFORE INSERT ON Tarnel WHEN NEW.LogCall = 'G4XYZ' "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"
                     : "CREATE TRIGGER refuse BEFORE UPDATE ON Tarnel WHEN NEW.LogCall = 'UR5BBB' "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        if (merge) {
            Form3->LogAddLog2->click();
        } else {
            Filter->FormActivate();
            Filter->CheckBoxB->setChecked(true);
            Ui::runGuarded([] { Filter->ButtonOClick(); });
        }
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(DM->Table1.recordCount(), 3);
        QVERIFY(DM->DataSource1.isEnabled());
        QVERIFY(!Progress->isVisible());
        DM->LogLookup.locate("LogCall", "UR5AAA");
        QCOMPARE(DM->LogLookup.fieldByName("Log1").asString(), QString());
    }

    // The filter marks every contact and shows the passing ones; clearing the
    // log then deletes only those.
    void filterThenClear()
    {
        Filter->FormActivate();
        Filter->ButtonOClick(); // no box ticked: nothing happens
        QVERIFY(!DM->Table1.hasRange());
        Filter->CheckBoxN->setChecked(true);
        Filter->EditN->setText("IVAN");
        Filter->CheckBoxC->setChecked(true);
        Filter->EditC->setText("UR5????");
        Filter->ButtonOClick();
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("By1"));
        QCOMPARE(calls(DM->Table1), (QStringList{"UR5AAA", "UR5BBB"}));
        DM->LogLookup.locate("LogCall", "UA9XX");
        QCOMPARE(DM->LogLookup.fieldByName("Log1").asString(), QStringLiteral("0"));
        dialogs_->answers.push_back(Ui::Answer::Yes);
        Form3->LogClear->click();
        QCOMPARE(DM->Table1.recordCount(), 0);
        QCOMPARE(DM->LogLookup.recordCount(), 1);
        Filter->ButtonCClick();
        QCOMPARE(calls(DM->Table1), QStringList{"UA9XX"});
        QVERIFY(!Filter->CheckBoxN->isChecked());
    }

    void clearAnsweredNoKeepsTheLog()
    {
        dialogs_->answers.push_back(Ui::Answer::No);
        Form3->LogClear->click();
        QCOMPARE(dialogs_->questions(), QStringList{"Clear LOG ?"});
        QCOMPARE(DM->Table1.recordCount(), 3);
    }

    void callFilter()
    {
        FiltCal->showWindow();
        FiltCal->Edit1->setText("UR");
        QCOMPARE(calls(DM->Table1), (QStringList{"UR5AAA", "UR5BBB"}));
        QVERIFY(!Form3->AutoViewImages1->isChecked());
        FiltCal->Edit1->setText("UR5");
        QVERIFY(Form3->AutoViewImages1->isChecked());
        FiltCal->closeWindow();
        QCOMPARE(FiltCal->Edit1->text(), QString());
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByDatTim"));
        QCOMPARE(DM->Table1.recordCount(), 3);
        QVERIFY(Form3->AutoViewImages1->isChecked());
    }
};

QTEST_MAIN(TestLogs)
#include "TestLogs.moc"
