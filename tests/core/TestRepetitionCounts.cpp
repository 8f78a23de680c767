// The count of earlier contacts that the callsign entry shows while a contest
// runs stays the plain count of the log through every way the log changes:
// save, edit-mode save, delete, clear, adding another log and the log switch.

#include "ProgramFixture.h"
#include "SamplePrefixes.h"
#include "platform/table/TableFixture.h"

#include "contest/UContst.h"
#include "core/GlavnMod.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"

#include <functional>
#include <memory>

namespace {

const QStringList typed = {"U", "UR", "UR5", "UR5A", "UR5AA", "UR5AAA", "D", "DL1XX", "K"};

// SQLite's own count of the range the entry counts, on the open log's file.
int plainCount(const QString &text)
{
    const QStringList rows = TableFixture::sqliteRows(
        DM->Table1.filePath(),
        QStringLiteral("SELECT count(*) FROM Tarnel WHERE LogCall >= '%1' AND LogCall <= '%1' || 'ZZZZZZZZZZZ'").arg(text));
    return rows.size() == 1 ? rows[0].toInt() : -1;
}

QStringList shownCounts()
{
    QStringList counts;
    for (const QString &text : typed) {
        Form3->MaskEditCall->setText(text);
        counts << text + u'=' + Cont->Label2->text();
    }
    Form3->MaskEditCall->clear();
    return counts;
}

QStringList plainCounts()
{
    QStringList counts;
    for (const QString &text : typed)
        counts << text + u'=' + QString::number(plainCount(text));
    return counts;
}

void save(const QString &call)
{
    Form3->MaskEditCall->setText(call);
    Form3->MaskEditRstRx->setText("599");
    Form3->MaskEditRstTx->setText("599");
    Form3->ButtonSaveClick();
}

const QList<QList<std::pair<QString, QString>>> sampleLog = {
    {{"LogCall", "DL1XX"}, {"LogDate", "01.01.2024"}, {"LogTime", "10:00:00"}},
    {{"LogCall", "UR5AAA"}, {"LogDate", "02.01.2024"}, {"LogTime", "11:00:00"}},
    {{"LogCall", "UR5AAA"}, {"LogDate", "02.01.2024"}, {"LogTime", "12:00:00"}},
    {{"LogCall", "UR5AAB"}, {"LogDate", "03.01.2024"}, {"LogTime", "13:00:00"}},
};

} // namespace

using Change = std::function<void(Ui::ScriptedDialogs &)>;
Q_DECLARE_METATYPE(Change)

class TestRepetitionCounts : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        addSamplePrefixes(*program_);
        program_->addRows("Log/Log1", "Tarnel", sampleLog);
        program_->addRows("Log/Log2", "Tarnel", {{{"LogCall", "UR5AAA"}}, {{"LogCall", "UR5ZZ"}}, {{"LogCall", "K1A"}}});
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Form3->MaskEditDate->setText("08.12.2026");
        Form3->MaskEditTime->setText("20:00:00");
        Form3->Timer1->stop();
        Form3->ContStart->setChecked(true);
        Form3->OptionRep->setEnabled(false);
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    void countFollowsTheLog_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("save") << Change([](Ui::ScriptedDialogs &) {
            save("UR5AAC");
            save("UR5AAA");
        });
        QTest::newRow("edit-mode save of another callsign") << Change([](Ui::ScriptedDialogs &) {
            DM->Table1.setIndexName("ByCall");
            QVERIFY(DM->Table1.locate("LogCall", "UR5AAB"));
            Form3->ButtonEditClick();
            save("DL1XX");
        });
        QTest::newRow("delete") << Change([](Ui::ScriptedDialogs &dialogs) {
            DM->Table1.setIndexName("ByCall");
            QVERIFY(DM->Table1.locate("LogCall", "UR5AAA"));
            dialogs.answers.push_back(Ui::Answer::Yes);
            Form3->ViewDeleteQsoClick();
        });
        QTest::newRow("clear") << Change([](Ui::ScriptedDialogs &dialogs) {
            dialogs.answers.push_back(Ui::Answer::Yes);
            Form3->LogClearClick();
        });
        QTest::newRow("another log added") << Change([](Ui::ScriptedDialogs &) { Form3->LogAddLog2Click(); });
        QTest::newRow("log switch") << Change([](Ui::ScriptedDialogs &) { Form3->LogLog2Click(); });
        QTest::newRow("log switch and back after a save") << Change([](Ui::ScriptedDialogs &) {
            Form3->LogLog2Click();
            save("UR5AAA");
            Form3->LogLog1Click();
        });
    }
    void countFollowsTheLog()
    {
        QFETCH(Change, change);
        QCOMPARE(shownCounts(), plainCounts());
        change(*dialogs_);
        QCOMPARE(shownCounts(), plainCounts());
        save("UR5AAD");
        QCOMPARE(shownCounts(), plainCounts());
        QCOMPARE(dialogs_->errors(), QStringList());
    }
};

QTEST_MAIN(TestRepetitionCounts)
#include "TestRepetitionCounts.moc"
