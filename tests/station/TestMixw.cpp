#include "core/ProgramFixture.h"

#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "core/Povt.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/ui/Dialogs.h"
#include "station/FUpdate.h"
#include "station/MixwLog.h"
#include "station/UMixW.h"

namespace {

// A MixW line with the given fields (numbered from 1), each followed by ';'.
QString line(const QMap<int, QString> &fields, int count)
{
    QString text;
    for (int n = 1; n <= count; ++n)
        text += fields.value(n) + QLatin1Char(';');
    return text;
}

const QString example = line({{2, "QB1AA"},
                              {3, "200311051432"},
                              {7, "14025.5"},
                              {10, "CW"},
                              {11, "599"},
                              {12, "579"},
                              {15, "Ruzu"},
                              {16, "Moscow"},
                              {17, "line2"},
                              {19, "note"},
                              {21, "x"}},
                             21);

QString summary(const MixwLog::Contact &c)
{
    return QStringList{c.call, c.date, c.time, c.band, c.mode, c.rstTx, c.rstRx, c.name, c.qth, c.line2, c.notes}.join(
        QLatin1Char('|'));
}

} // namespace

class TestMixw : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    QString logPath() const { return program_->path(QStringLiteral("mixw.log")); }
    void writeLog(const QString &text) const
    {
        QFile file(logPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fields");
        QTest::newRow("example") << "old;line;\r\n" + example + "\r\n"
                                 << "QB1AA|05.11.2003|14:32:00|14|CW|599|579|Ruzu|Moscow|line2|note";
        QTest::newRow("six separators") << "1;QB1AA;200311051432;4;5;6;"
                                        << "QB1AA|05.11.2003|14:32:00||||||||";
        QTest::newRow("last field without ';'") << "1;QB1AA;200311051432;4;5;6;14025"
                                                << "QB1AA|05.11.2003|14:32:00||||||||";
        QTest::newRow("BPSK31") << line({{2, "QB1AA"}, {10, "BPSK31"}}, 10) << "QB1AA||||BPSK||||||";
        QTest::newRow("blank last line") << example + "\n\n"
                                         << "||||||||||";
        QTest::newRow("empty file") << "" << "||||||||||";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, fields);
        QCOMPARE(summary(MixwLog::parse(MixwLog::lastLine(text))), fields);
    }

    void band_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("band");
        const char *cases[][2] = {{"144300", "144"}, {"145500", "144"}, {"432100", "430"}, {"3505", "3.5"},
                                  {"7012", "7"},     {"7150", "7150"},  {"10125", "10"},   {"14025.5", "14"},
                                  {"18100", "18"},   {"1850", "1.8"},   {"2000", "1.8"},   {"21050", "21"},
                                  {"24900", "24"},   {"29600", "28"},   {"50100", "50100"}, {"", ""}};
        for (const auto &c : cases)
            QTest::newRow(c[0]) << QString::fromLatin1(c[0]) << QString::fromLatin1(c[1]);
    }
    void band()
    {
        QFETCH(QString, frequency);
        QFETCH(QString, band);
        QCOMPARE(MixwLog::bandKey(frequency), band);
    }

    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
        Config->EditPr9->setText(logPath());
    }
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // "Auto", "-Update-", then polls: an unchanged last line is not taken
    // again, a new one is; the menu's "Update" always takes over.
    void takeOver()
    {
        writeLog(example + "\r\n");
        Form3->Pr91Click();
        QVERIFY(MixT->isVisible());
        QVERIFY(!Form3->CheckBoxTime->isChecked());
        MixT->Button4Click();
        QVERIFY(MixT->Timer1->isActive());
        QCOMPARE(MixT->Edit1->text(), QStringLiteral("QB1AA"));
        QCOMPARE(MixT->DateTimePicker1->date(), QDate(2003, 11, 5));
        QCOMPARE(Form3->MaskEditCall->text(), QStringLiteral("QB1AA"));
        QCOMPARE(Form3->MaskEditDate->text(), QStringLiteral("05.11.2003"));
        QCOMPARE(Form3->MaskEditTime->text(), QStringLiteral("14:32:00"));
        QCOMPARE(Form3->ComboBoxBand->currentText(), QStringLiteral("14"));
        QCOMPARE(Form3->MaskEditRstTx->text(), QStringLiteral("599"));
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Ruzu"));
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("note\n"));

        Form3->MaskEditName->setText(QStringLiteral("typed"));
        MixT->Timer1Timer();
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("typed"));
        writeLog(example + "\r\n" + QString(example).replace("Ruzu", "Ivan") + "\r\n");
        MixT->Timer1Timer();
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Ivan"));
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("note\nline2"));

        Form3->MaskEditName->setText(QStringLiteral("typed"));
        Form3->Update1Click();
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Ivan"));
        QCOMPARE(Form3->MemoNot->toPlainText(), QStringLiteral("note"));

        MixT->closeWindow();
        QVERIFY(!MixT->Timer1->isActive());
        QVERIFY(Form3->CheckBoxTime->isChecked());
        QVERIFY(dialogs_->shown.isEmpty());
    }

    // A lone CR inside a line is no line end: it reaches the entry and the
    // log as a blank.
    void loneCarriageReturn()
    {
        writeLog(example + "\r\n" + QString(example).replace("Ruzu", "Ru\rzu").replace("Moscow", "Mos\rcow"));
        Form3->Update1Click();
        QCOMPARE(Form3->MaskEditName->text(), QStringLiteral("Ru zu"));
        QCOMPARE(Form3->MaskEditQth->text(), QStringLiteral("Mos cow"));
        Form3->ButtonSaveClick();
        QCOMPARE(DM->Table1.recordCount(), 1);
        QCOMPARE(DM->Table1.fieldByName("LogName").asString(), QStringLiteral("Ru zu"));
        QCOMPARE(DM->Table1.fieldByName("LogQth").asString(), QStringLiteral("Mos cow"));
    }

    // With the repeat window open the take-over ends the chain as a typed
    // callsign does: the stopwatch runs and the sent report takes the keys.
    void updateEndsTheChain()
    {
        Form3->showWindow();
        QTRY_COMPARE(Form3->Label23->text(), QStringLiteral("vse"));
        writeLog(example + "\r\n");
        DM->Table1.append();
        DM->Table1.fieldByName(QStringLiteral("LogCall")).setAsString(QStringLiteral("QB1AA"));
        DM->Table1.post();
        QVERIFY(Form3->TimQSO->isChecked());
        Form3->Update1Click();
        QVERIFY(Povt->isVisible());
        QVERIFY(Form3->Timer3->isActive());
        QTRY_COMPARE(QApplication::focusWidget(), Form3->MaskEditRstTx);
        QCOMPARE(Form3->MaskEditRstTx->selectedText(), QStringLiteral("599"));
    }

    // In edit mode nothing is taken over, by any way.
    void noTakeOverInEditMode()
    {
        writeLog(example);
        Form3->ButtonEdit->setText(QStringLiteral("Esc"));
        MixT->Button4Click();
        MixT->Timer1Timer();
        Form3->Update1Click();
        Form3->ButtonEdit->setText(QStringLiteral("Edit"));
        QCOMPARE(Form3->MaskEditCall->text(), QString());
        QCOMPARE(MixT->Edit1->text(), QString());
    }

    // A file that cannot be read: one box, and the poll stops, whichever
    // way read it.
    void readErrorStopsThePoll_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("poll") << 0;
        QTest::newRow("menu Update") << 1;
        QTest::newRow("-Update-") << 2;
    }
    void readErrorStopsThePoll()
    {
        QFETCH(int, way);
        MixT->StartUpdate1Click();
        if (way == 0)
            MixT->Timer1Timer();
        else if (way == 1)
            Form3->Update1Click();
        else
            MixT->Button4Click();
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY(!MixT->Timer1->isActive());
        QVERIFY(MixT->StopUpdate1->isChecked());
        Form3->Pr91Click();
        QCOMPARE(dialogs_->warnings(), QStringList{"File " + logPath() + " not exists !"});
        QVERIFY(!MixT->isVisible());
    }

    // The menu's "Update" stops the clock only once it has a contact, an
    // empty last line included; a file it cannot read leaves "Real" ticked
    // and the clock running.
    void menuUpdateStopsTheClockOnlyAfterARead_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("real");
        QTest::newRow("cannot be read") << false << true;
        QTest::newRow("empty last line") << true << false;
    }
    void menuUpdateStopsTheClockOnlyAfterARead()
    {
        QFETCH(bool, readable);
        QFETCH(bool, real);
        if (readable)
            writeLog(example + "\r\n\r\n");
        QVERIFY(Form3->CheckBoxTime->isChecked());
        Form3->Update1Click();
        QCOMPARE(dialogs_->errors().size(), readable ? 0 : 1);
        QCOMPARE(Form3->CheckBoxTime->isChecked(), real);
        QCOMPARE(Form3->Timer1->isActive(), real);
    }

    // The interval window sets the poll's interval; closing it polls again
    // and the menu says so.
    void intervalWindow()
    {
        MixT->StopUpdate1Click();
        FUpdate->UpDown1->stepBy(1);
        QCOMPARE(FUpdate->Edit1->text(), QStringLiteral("30"));
        QCOMPARE(MixT->Timer1->interval(), 30000);
        FUpdate->closeWindow();
        QVERIFY(MixT->Timer1->isActive());
        QVERIFY(MixT->StartUpdate1->isChecked());
    }
};

QTEST_MAIN(TestMixw)
#include "TestMixw.moc"
