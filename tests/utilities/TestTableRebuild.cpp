#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"
#include "utilities/UImage.h"
#include "utilities/UPack.h"

#include <QBuffer>
#include <QLineEdit>
#include <QProgressBar>

class TestTableRebuild : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    QString pict() const { return program_->path("Sound/Table/Pict.db"); }
    QStringList leftovers() const
    {
        QStringList found = QDir(program_->path("Temp")).entryList(QDir::Files | QDir::Hidden);
        for (const char *dir : {"Sound/Table", "Log/Log1", "Log/Log2"})
            found << QDir(program_->path(QString::fromLatin1(dir))).entryList({"*.new"}, QDir::Files);
        return found;
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QList<QList<std::pair<QString, QString>>> pictures;
        for (const char *call : {"QA1A", "qa2b", "UR5ZZ"})
            pictures << QList<std::pair<QString, QString>>{
                {"Date_Time", QStringLiteral("01.05.2024 10:00:0%1").arg(pictures.size())},
                {"Call", call}, {"R1", QString(call) + ".jpg"}, {"R2", "r2"}, {"R4", "r4"}};
        program_->addRows("Sound/Table", "Pict.db", pictures);
        program_->addRows("Sound/Table", "Sound", {{{"DateTim", "01.05.2024 10:00:00"}, {"Callsignal", "UR5ZZ"}}});
        program_->addRows("Log/Log2", "Tarnel", {{{"LogCall", "DL1AB"}, {"LogDate", "05.01.2024"}}});
        {
            // Pictures followed by every byte value, to see the blobs kept whole.
            QImage image(16, 16, QImage::Format_RGB32);
            image.fill(Qt::red);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "JPG");
            Db::Database db;
            db.setDirectory(program_->path("Sound/Table"));
            Db::Table t(&db, "Pict.db");
            t.open();
            for (int i = 0; i < 5000; ++i)
                bytes += char(i * 7);
            for (t.first(); !t.eof(); t.next()) {
                t.edit();
                t.fieldByName("Fot1").setAsBytes(bytes + t.fieldByName("Call").asString().toLatin1());
                t.post();
            }
        }
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // With a search active and a stale work file in Temp/, every row, value
    // and blob survives, in order; the window's cursor ends on the last row.
    void imagePackKeepsEverything()
    {
        FImage->showByName();
        FImage->Edit1->setText("UR");
        QCOMPARE(FImage->Table1.recordCount(), 1);
        const QList<QVariantList> before = tableRows(pict());
        QFile stale(program_->path("Temp/~Pic.db"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("left by an interrupted run");
        stale.close();
        FUtil->Button1Click();
        QVERIFY2(dialogs_->errors().isEmpty(), qPrintable(dialogs_->errors().join("|")));
        QCOMPARE(tableRows(pict()), before);
        QCOMPARE(before.size(), 3);
        QCOMPARE(FUtil->Gauge1->value(), 100);
        QVERIFY(FImage->Table1.isActive());
        QCOMPARE(FImage->Table1.fieldByName("Call").asString(), QStringLiteral("UR5ZZ"));
        QVERIFY(FImage->hasPictureOf("qa2b"));
        QCOMPARE(leftovers(), QStringList());

        const QList<QVariantList> sounds = tableRows(program_->path("Sound/Table/Sound.db"));
        FUtil->ButtonPSoundClick();
        QCOMPARE(tableRows(program_->path("Sound/Table/Sound.db")), sounds);
        QVERIFY(DM->TableS.isActive());
        QCOMPARE(leftovers(), QStringList());

        // Closed, the files are plain: no journal beside them.
        destroyWindowSet();
        QCOMPARE(QDir(program_->path("Sound/Table")).entryList({"*-wal", "*-shm"}, QDir::Files), QStringList());
    }

    // A step that fails is reported and the live table stays, open.
    void failureKeepsLiveTable_data()
    {
        QTest::addColumn<QString>("remove");
        QTest::newRow("template missing") << "Pack/Pict.db";
        QTest::newRow("Temp missing") << "Temp";
    }
    void failureKeepsLiveTable()
    {
        QFETCH(QString, remove);
        FImage->showByName();
        const QList<QVariantList> before = tableRows(pict());
        QVERIFY(QFile::remove(program_->path(remove)) || QDir(program_->path(remove)).removeRecursively());
        FUtil->Button1->click();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(tableRows(pict()), before);
        QVERIFY(FImage->Table1.isActive());
        QCOMPARE(FImage->Table1.recordCount(), 3);
    }

    // Log Pack touches only an empty log, counted whole, in the checked folder.
    void logPackOnlyWhenEmpty()
    {
        program_->addRows("Log/Log1", "Tarnel", {{{"LogCall", "UR5AAA"}, {"LogDate", "01.01.2024"}}});
        DM->openLog(logDirectory(program_->path(), 1));
        const QList<QVariantList> before = tableRows(program_->path("Log/Log1/Tarnel.db"));
        DM->Table1.setIndexName("ByCall");
        DM->Table1.setRange("ZZ", "ZZ");
        QVERIFY(DM->Table1.isEmpty());
        FUtil->ButtonLPackClick();
        DM->Table1.cancelRange();
        QCOMPARE(tableRows(program_->path("Log/Log1/Tarnel.db")), before);
        QCOMPARE(FUtil->Gauge1->value(), 100);

        DM->Table1.first();
        DM->Table1.deleteRecord();
        const QList<QVariantList> log2 = tableRows(program_->path("Log/Log2/Tarnel.db"));
        FUtil->Gauge1->setValue(0);
        FUtil->ButtonLPackClick();
        QVERIFY(dialogs_->errors().isEmpty());
        QCOMPARE(FUtil->Gauge1->value(), 100);
        QVERIFY(DM->Table1.isActive() && DM->Table7.isActive() && DM->LogLookup.isActive());
        QVERIFY(DM->Table1.isEmpty());
        QCOMPARE(tableRows(program_->path("Log/Log2/Tarnel.db")), log2);
        QCOMPARE(leftovers(), QStringList());
    }
};

QTEST_MAIN(TestTableRebuild)
#include "TestTableRebuild.moc"
