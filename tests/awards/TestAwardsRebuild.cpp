#include "../core/ProgramFixture.h"
#include "../core/ProgramTables.h"
#include "../core/SamplePrefixes.h"

#include "awards/AwardMarks.h"
#include "awards/AwardsRebuild.h"
#include "awards/UDxcc.h"
#include "core/TableSchemas.h"
#include "core/GlavnMod.h"
#include "core/Progress.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Dialogs.h"

#include <QProgressBar>
#include <stdexcept>

namespace {

using Contact = std::array<const char *, 5>; // call, band, mode, received QSL, stored country

Row logRow(const Contact &c, int n)
{
    return {{"LogCall", c[0]}, {"LogBand", c[1]},   {"LogMode", c[2]},
            {"LogRxQsl", c[3]}, {"LogObl", c[4]}, {"LogDate", QStringLiteral("%1.01.2024").arg(n + 10)}};
}

void addLog(const ProgramFixture &program, const QList<Contact> &contacts)
{
    QList<Row> rows;
    for (int i = 0; i < contacts.size(); ++i)
        rows << logRow(contacts[i], i);
    program.addRows("Log/Log1", "Tarnel", rows);
}

// Every row of a table file as text, read through a cursor of its own.
QStringList snapshot(Db::Database &db, const char *table)
{
    Db::Table t(&db, QString::fromLatin1(table));
    t.open();
    QStringList rows;
    for (const Db::RowTexts &r : t.readRows(0, t.recordCount()))
        rows << r.texts.join(u'|');
    return rows;
}

// The program's tables, with what the tests ask of them.
struct Program : ProgramTables {
    using ProgramTables::ProgramTables;
    void rebuild(bool clear, const AwardsRebuild::Step &step = {})
    {
        AwardsRebuild::rebuild({log, allpref, prefix, marks, dxcc, ur, waz}, clear, step);
    }
    QStringList awards() { return snapshot(awardDb, "Dxcc") + snapshot(awardDb, "UR") + snapshot(awardDb, "Waz"); }
    QString cell(const char *table, const QString &key, const char *name)
    {
        Db::Table t(&awardDb, QString::fromLatin1(table));
        t.open();
        if (!t.locate(QString::fromLatin1(table) == QLatin1String("Waz") ? "Zone" : "Prefix", key))
            return "<no row>";
        return t.fieldByName(QString::fromLatin1(name)).asString();
    }
    // The non-empty marks of a row as "cell=mark" in field order.
    QString marksOf(const char *table, const QString &key)
    {
        Db::Table t(&awardDb, QString::fromLatin1(table));
        t.open();
        if (!t.locate(QString::fromLatin1(table) == QLatin1String("Waz") ? "Zone" : "Prefix", key))
            return "<no row>";
        QStringList set;
        for (const QString &c : TableSchemas::awardCells(QString::fromLatin1(table) == QLatin1String("Waz")))
            if (!t.fieldByName(c).asString().isEmpty())
                set << c + '=' + t.fieldByName(c).asString();
        return set.join(' ');
    }

};

const QList<Contact> sampleLog = {
    {"UR5AAA", "14", "SSB", "Yes", "Ukraine"},
    {"UR5AAA", "7", "CW", "", "Ukraine"},
    {"DL1AB", "21", "RTTY", "", "Germany"}, // country written back, cut to 15
    {"VE3XY", "144", "SSB", "", "Wrong"},   // no cell, country still written back
    {"UA9CC", "Satell", "FM", "", "Asiatic Russia"},
    {"QQ1ZZ", "14", "CW", "", "Nowhere"}, // resolves to nothing: passed over
    {"UR", "10", "CW", "", ""},           // short call: its own characters resolve it
};

} // namespace

class TestAwardsRebuild : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    void startWindows()
    {
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
    }
    QStringList allTables()
    {
        return snapshot(DM->Database4, "Dxcc") + snapshot(DM->Database4, "UR") + snapshot(DM->Database4, "Waz") +
               snapshot(DM->Database1, "Tarnel");
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
    }
    void cleanup()
    {
        if (dialogs_) {
            destroyWindowSet();
            dialogs_.reset();
        }
        program_.reset();
    }

    // ---- the walk as a plain function
    void yesDerivesMarksFromTheLog()
    {
        addLog(*program_, sampleLog);
        Program p(program_->path());
        p.rebuild(true);
        // The sample's earlier marks on 7 (wkd) and 21 CW (cfm) are gone.
        QCOMPARE(p.marksOf("Dxcc", "UR"), QStringLiteral("B7=wkd B7Cw=wkd B10=wkd B10Cw=wkd B14=cfm B14Ssb=cfm"));
        QCOMPARE(p.marksOf("UR", "UR"), p.marksOf("Dxcc", "UR"));
        QCOMPARE(p.marksOf("Dxcc", "DL"), QStringLiteral("B21=wkd B21Rtty=wkd"));
        QCOMPARE(p.marksOf("Dxcc", "UA9"), QStringLiteral("Satellite=wkd SatOther=wkd"));
        QCOMPARE(p.marksOf("UR", "UA9"), QStringLiteral("Satellite=wkd SatOther=wkd"));
        QCOMPARE(p.marksOf("Dxcc", "VE"), QString()); // the row exists, no cell for 144
        QCOMPARE(p.marksOf("Waz", "16"), QStringLiteral("B7=wkd B7CW=wkd B10=wkd B10CW=wkd B14=cfm B14SSB=cfm"));
        QCOMPARE(p.cell("Waz", "28", "B28"), QString());

        QStringList countries;
        for (p.log.first(); !p.log.eof(); p.log.next())
            countries << p.log.fieldByName("LogObl").asString();
        QCOMPARE(countries, (QStringList{"Ukraine", "Ukraine", "Federal Republi", "Canada", "Asiatic Russia",
                                         "Nowhere", "Ukraine"}));

        // Whatever was there before, Yes gives the same; and again changes nothing.
        const QStringList once = p.awards();
        p.marks.mark(PrefixRow{"UR", "UR", "", "", 0, 0, 0, "", "16", ""}, "28", "CW", true);
        p.rebuild(true);
        QCOMPARE(p.awards(), once);
        p.rebuild(false);
        QCOMPARE(p.awards(), once);
    }

    void noAddsAndUpgradesNeverDowngrades()
    {
        addLog(*program_, {{"UR5AAA", "14", "SSB", "", "Ukraine"}});
        Program p(program_->path());
        p.rebuild(false);
        // Sample: B14 cfm, B7 wkd, B21Cw cfm stay; the contact adds B14Ssb.
        QCOMPARE(p.marksOf("Dxcc", "UR"), QStringLiteral("B7=wkd B14=cfm B14Ssb=wkd B21Cw=cfm"));
        p.log.first();
        p.log.edit();
        p.log.fieldByName("LogRxQsl").setAsString("Yes");
        p.log.post();
        p.rebuild(false);
        QCOMPARE(p.marksOf("Dxcc", "UR"), QStringLiteral("B7=wkd B14=cfm B14Ssb=cfm B21Cw=cfm"));
    }

    void emptyLog()
    {
        Program p(program_->path());
        const QStringList before = p.awards();
        p.rebuild(false);
        QCOMPARE(p.awards(), before);
        p.rebuild(true);
        QCOMPARE(p.marksOf("Dxcc", "UR"), QString());
        QCOMPARE(p.marksOf("Waz", "16"), QString());
        QCOMPARE(p.awards().size(), before.size()); // keys stay
    }

    // An error mid-walk, after the clearing and some write-backs: all four files as they were.
    void errorLeavesEveryTable()
    {
        addLog(*program_, sampleLog);
        Program p(program_->path());
        const QStringList before = p.awards() + snapshot(p.logDb, "Tarnel");
        int walked = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, p.rebuild(true, [&] {
            if (++walked == 5)
                throw std::runtime_error("injected");
        }));
        QCOMPARE(p.awards() + snapshot(p.logDb, "Tarnel"), before);
    }

    // ---- through the windows
    // Yes under a filter walks the whole log; the grid keeps its range and
    // stands on the last contact; the bar's maximum is the whole log.
    void yesUnderFilterMarksEveryContact()
    {
        addLog(*program_, sampleLog);
        startWindows();
        DM->Table1.setIndexName("ByCall");
        DM->Table1.setRange("VE3XY", "VE3XY");
        int maximum = 0;
        AwDx->rebuildStep = [&] { maximum = Progress->PrBar->maximum(); };
        dialogs_->answers.push_back(Ui::Answer::Yes);
        AwDx->Button3->click();
        QCOMPARE(dialogs_->questions(), QStringList{"If to add from active LOG press No. Clear Awards ?"});
        QVERIFY(dialogs_->errors().isEmpty());
        QCOMPARE(maximum, sampleLog.size());
        Db::Table dxcc(&DM->Database4, "Dxcc");
        dxcc.open();
        QVERIFY(dxcc.locate("Prefix", "UR"));
        QCOMPARE(dxcc.fieldByName("B14Ssb").asString(), QStringLiteral("cfm"));
        QCOMPARE(DM->Table1.indexName(), QStringLiteral("ByCall"));
        QCOMPARE(DM->Table1.recordCount(), 1);
        QVERIFY(DM->Table2.isActive() && DM->Table3.isActive());
        QVERIFY(!Progress->isVisible());
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("DXCC confirmed")); // the count click toggled the view
    }

    // No under a filter walks only the range.
    void noUnderFilterWalksTheRange()
    {
        addLog(*program_, sampleLog);
        startWindows();
        DM->Table1.setIndexName("ByCall");
        DM->Table1.setRange("DL1AB", "DL1AB");
        dialogs_->answers.push_back(Ui::Answer::No);
        AwDx->Button3->click();
        QCOMPARE(DM->LogLookup.locate("LogCall", "VE3XY") ? DM->LogLookup.fieldByName("LogObl").asString() : "",
                 QStringLiteral("Wrong"));
        QVERIFY(DM->LogLookup.locate("LogCall", "DL1AB"));
        QCOMPARE(DM->LogLookup.fieldByName("LogObl").asString(), QStringLiteral("Federal Republi"));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("windowShown");
        QTest::newRow("from the main window's Refresh") << false;
        QTest::newRow("inside the awards window") << true;
    }
    void cancelChangesNothing()
    {
        QFETCH(bool, windowShown);
        addLog(*program_, sampleLog);
        startWindows();
        if (windowShown)
            AwDx->showWindow();
        const QStringList before = allTables();
        dialogs_->answers.push_back(Ui::Answer::Cancel);
        AwDx->Button3->click();
        QCOMPARE(allTables(), before);
        QVERIFY(DM->Table2.isActive());
        QCOMPARE(DM->Table3.isActive(), !windowShown);
    }

    // Inside the window the grid and the counts keep every Dxcc row.
    void refreshInsideTheWindowKeepsWholeTables()
    {
        addLog(*program_, sampleLog);
        program_->addRows("Awrds", "Dxcc", {{{"Prefix", "G"}}, {{"Prefix", "K"}}});
        startWindows();
        AwDx->showWindow();
        dialogs_->answers.push_back(Ui::Answer::Yes);
        AwDx->Button3->click();
        QVERIFY(dialogs_->errors().isEmpty());
        QVERIFY(!DM->Table3.isActive());
        QCOMPARE(AwDx->DBGrid1->model()->rowCount(), DM->Table4.recordCount());
        QVERIFY(DM->Table4.recordCount() >= 5); // UR, G, K and the entities the walk met
        QCOMPARE(AwDx->Label18->text(), QStringLiteral("DXCC confirmed"));
        QCOMPARE(AwDx->LabelTS->text(), QStringLiteral("1")); // UR on 14 SSB, confirmed
        AwDx->Button4Click();
        QCOMPARE(AwDx->LabelTC->text(), QStringLiteral("1")); // UR 7 and 10 CW, worked
        QCOMPARE(AwDx->LabelSO->text(), QStringLiteral("1")); // UA9 satellite FM
        AwDx->closeWindow();
        QVERIFY(DM->Table3.isActive());
    }

    void errorLeavesTablesAndWindowsUsable()
    {
        addLog(*program_, sampleLog);
        startWindows();
        AwDx->showWindow();
        const QStringList before = allTables();
        int walked = 0;
        AwDx->rebuildStep = [&] {
            if (++walked == 4)
                throw std::runtime_error("injected");
        };
        dialogs_->answers.push_back(Ui::Answer::Yes);
        AwDx->Button3->click();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(allTables(), before);
        for (Db::DataSource *s : {&DM->DataSource1, &DM->DataSource4, &DM->DataSource5, &DM->DataSource9})
            QVERIFY(s->isEnabled());
        QVERIFY(!Progress->isVisible());
        QVERIFY(DM->Table2.isActive());
        QVERIFY(!DM->Table3.isActive());
        QCOMPARE(AwDx->DBGrid1->model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestAwardsRebuild)
#include "TestAwardsRebuild.moc"
