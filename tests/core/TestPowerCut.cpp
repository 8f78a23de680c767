// The power fails before, inside and after a contact's save: a contact whose
// save returned is still in the log, every table file passes SQLite's
// integrity check, the log opens, and the award marks are never ahead of the
// log and come back with the awards' Refresh.

#include "ProgramFixture.h"
#include "SamplePrefixes.h"
#include "platform/table/PowerCutVfs.h"
#include "platform/table/TableFixture.h"

#include "awards/UDxcc.h"
#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"

#include <QDirIterator>
#include <memory>

namespace {

QString wazCell(const char *zone, const char *cell)
{
    Db::Table t(&DM->Database4, QStringLiteral("Waz"));
    t.open();
    return t.locate(QStringLiteral("Zone"), QString::fromLatin1(zone)) ? t.fieldByName(QString::fromLatin1(cell)).asString()
                                                                       : QStringLiteral("<no row>");
}

} // namespace

class TestPowerCut : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    void startWindows()
    {
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->MaskEditDate->setText("08.12.2026");
        Form3->MaskEditTime->setText("20:00:00");
        Form3->Timer1->stop();
    }
    void stopWindows()
    {
        destroyWindowSet();
        dialogs_.reset();
    }
    static void save(const char *call)
    {
        Form3->MaskEditCall->setText(QString::fromLatin1(call));
        Form3->ComboBoxBand->setCurrentText("14");
        Form3->ComboBoxMode->setCurrentText("CW");
        Form3->MaskEditRstRx->setText("599");
        Form3->MaskEditRstTx->setText("599");
        Form3->ButtonSaveClick();
    }
    // A program with one contact saved, then a second one saved with the power
    // failing at sync `cutAtSync` of that save (0: none). Returns the files
    // synced during the second save.
    QStringList run(int cutAtSync, bool cutBefore, bool cutAfter)
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        startWindows();
        save("UR5AAA");
        PowerCut::startCounting(cutAtSync);
        if (cutBefore)
            PowerCut::cut();
        save("DL1ABC"); // a new Dxcc row and a new Waz mark
        if (cutAfter)
            PowerCut::cut();
        const QStringList synced = [] {
            QStringList files;
            for (const std::string &f : PowerCut::state().syncedFiles)
                files << QFileInfo(QString::fromStdString(f)).fileName();
            return files;
        }();
        stopWindows();
        PowerCut::restore();
        PowerCut::startCounting();
        return synced;
    }

private slots:
    void initTestCase() { PowerCut::install(); }
    void cleanupTestCase() { PowerCut::uninstall(); }

    void cutPoints_data()
    {
        QTest::addColumn<int>("cutAtSync");
        QTest::addColumn<bool>("cutBefore");
        QTest::addColumn<bool>("cutAfter");
        QTest::addColumn<bool>("contactKept");
        // One save as it runs without a cut: the files it syncs, in order.
        const QStringList synced = run(0, false, false);
        program_.reset();
        // The contact is in the log once the log's last sync of the save is done.
        const qsizetype logSync =
            synced.lastIndexOf(QRegularExpression("^Tarnel\\.db-wal$", QRegularExpression::CaseInsensitiveOption));
        QTest::newRow("before the save") << 0 << true << false << false;
        for (int k = 1; k <= synced.size(); ++k)
            QTest::addRow("at sync %d of %s", k, qPrintable(synced[k - 1])) << k << false << false << (k - 1 > logSync);
        QTest::newRow("after the save") << 0 << false << true << true;
    }
    void cutPoints()
    {
        QFETCH(int, cutAtSync);
        QFETCH(bool, cutBefore);
        QFETCH(bool, cutAfter);
        QFETCH(bool, contactKept);
        run(cutAtSync, cutBefore, cutAfter);

        QDirIterator files(program_->path(), {"*.db"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            QCOMPARE(TableFixture::sqliteRows(file, "PRAGMA integrity_check"), QStringList{"ok"});
        }
        QStringList expected{"UR5AAA"};
        if (contactKept)
            expected << "DL1ABC";
        QCOMPARE(TableFixture::sqliteRows(program_->path("Log/Log1/Tarnel.db"), "SELECT LogCall FROM Tarnel ORDER BY LogNom"),
                 expected);

        startWindows();
        QVERIFY(DM->Table1.isActive());
        QCOMPARE(DM->Table1.recordCount(), int(expected.size()));
        // The marks never run ahead of the log; Refresh adds what the cut lost.
        const QString mark = wazCell("14", "B14CW");
        QVERIFY(mark.isEmpty() || (contactKept && mark == QLatin1String("wkd")));
        dialogs_->answers.push_back(Ui::Answer::No); // add from the active log
        AwDx->Button3Click();
        QCOMPARE(wazCell("14", "B14CW"), contactKept ? QStringLiteral("wkd") : QString());
        QCOMPARE(wazCell("16", "B14CW"), QStringLiteral("wkd"));
        stopWindows();
        program_.reset();
    }
};

QTEST_MAIN(TestPowerCut)
#include "TestPowerCut.moc"
