// The contest settings file: its 69 lines as the window writes and reads
// them, the arrows of the points and the step.

#include "../core/ProgramFixture.h"

#include "contest/ContestFile.h"
#include "contest/UContest.h"
#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "platform/ui/Dialogs.h"

#include <QtTest>

namespace {

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (!bytes.endsWith("\r\n"))
        return {QStringLiteral("<no CR LF at the end>")};
    return QString::fromUtf8(bytes.chopped(2)).split(QStringLiteral("\r\n"));
}

void writeLines(const QString &path, const QStringList &lines)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

} // namespace

class TestContestFile : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;

    void start()
    {
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        createWindowSet();
    }

private slots:
    void cleanup()
    {
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    // ---- rules without a window
    void arrows_data()
    {
        QTest::addColumn<bool>("point"); // else the step
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("result");
        QTest::newRow("loaded 3 up") << true << "3" << 1 << "3,1";
        QTest::newRow("loaded 3 down") << true << "3" << -1 << "2,9";
        QTest::newRow("point zero up") << true << "0" << 1 << "0,1";
        QTest::newRow("point stops at 0") << true << "0" << -1 << "0";
        QTest::newRow("point stops at 10") << true << "10" << 1 << "10";
        QTest::newRow("point over 10") << true << "25" << -1 << "9,9";
        QTest::newRow("point rounded to tenths") << true << "1.26" << 1 << "1,4";
        QTest::newRow("point not a number") << true << "x" << 1 << "0,1";
        QTest::newRow("step 5 up") << false << "5" << 1 << "6";
        QTest::newRow("step stops at 0") << false << "0" << -1 << "0";
        QTest::newRow("step stops at 1000") << false << "1000" << 1 << "1000";
        QTest::newRow("step not a number") << false << "" << 1 << "1";
    }
    void arrows()
    {
        QFETCH(bool, point);
        QFETCH(QString, text);
        QFETCH(int, direction);
        QFETCH(QString, result);
        QCOMPARE(point ? ContestFile::pointStep(text, direction) : ContestFile::stepStep(text, direction), result);
    }

    void extensions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("typed without") << "cq" << "cq.tst";
        QTest::newRow("chosen with") << "cq.tst" << "cq.tst";
        QTest::newRow("other case") << "CQ.TST" << "CQ.TST";
        QTest::newRow("another extension") << "cq.txt" << "cq.txt.tst";
    }
    void extensions()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(ContestFile::withExtension(name, ".tst"), path);
    }

    // ---- through the window
    void closingWritesTheDefaults()
    {
        program_ = std::make_unique<ProgramFixture>();
        start();
        ContConf->DatePicker1->setDate(QDate(2024, 3, 1));
        ContConf->TimePicker1->setTime(QTime(12, 0, 1));
        ContConf->DatePicker2->setDate(QDate(2024, 3, 2));
        ContConf->TimePicker2->setTime(QTime(9, 5, 0));
        ContConf->showWindow();
        ContConf->ButtonCl->click();
        const QStringList lines = fileLines(program_->path("Contest.ini"));
        QCOMPARE(lines.size(), 69);
        QCOMPARE(lines.mid(0, 2), (QStringList{"", "0"}));
        const QStringList cw{"3", "3", "3", "0", "3", "0", "3", "0", "3", "0", "3", "3", "3", "3"};
        const QStringList ssb{"1", "1", "1", "0", "1", "0", "1", "0", "1", "0", "1", "1", "1", "1"};
        QCOMPARE(lines.mid(2, 14), cw);
        QCOMPARE(lines.mid(16, 14), ssb);
        QCOMPARE(lines.mid(30, 14), cw);
        QCOMPARE(lines.mid(44, 14), cw);
        QCOMPARE(lines.mid(58), (QStringList{"False", "False", "False", "False", "1", "001", "1", "01.03.2024",
                                             "12:00:01", "02.03.2024", "09:05:00"}));
        // "18" is 1.8 MHz (line 3), "180" 18 MHz (line 8).
        ContConf->point("Point180")->setText("7");
        ContConf->point("Point18s")->setText("5");
        ContConf->showWindow();
        ContConf->closeWindow(); // closing again rewrites the file
        const QStringList again = fileLines(program_->path("Contest.ini"));
        QCOMPARE(again.value(7), QStringLiteral("7"));
        QCOMPARE(again.value(16), QStringLiteral("5"));
    }

    void startUpReadsTheFileAndNames()
    {
        program_ = std::make_unique<ProgramFixture>();
        QStringList lines{"CQ WW", "2"};
        for (int i = 0; i < 56; ++i)
            lines << QString::number(i % 7);
        lines << "True" << "true" << "False" << "True" << "5" << "017" << "2" << "01.03.2024" << "12:00:01"
              << "02.03.2024" << "09:05:00";
        writeLines(program_->path("Contest.ini"), lines);
        writeLines(program_->path("ContName.tnr"), {"CQ WPX", "RDXC"});
        start();
        QVERIFY(dialogs_->errors().isEmpty());
        QCOMPARE(ContConf->ComboBox1->currentText(), QStringLiteral("CQ WW"));
        QCOMPARE(ContConf->ComboBox1->count(), 2);
        QCOMPARE(ContConf->RadioGroup1->itemIndex(), 2);
        QCOMPARE(ContConf->point("Point35")->text(), QStringLiteral("1"));
        QCOMPARE(ContConf->point("PointSato")->text(), QStringLiteral("6"));
        QVERIFY(ContConf->CheckBox1->isChecked());
        QVERIFY(!ContConf->CheckBox2->isChecked()); // only "True" ticks
        QVERIFY(!ContConf->CheckBox3->isChecked());
        QCOMPARE(ContConf->SPoint->value(), 5);
        // "Add to" loaded: the loaded number, locked until "Sent" is double-clicked.
        QVERIFY(ContConf->CheckBoxSen->isChecked());
        QCOMPARE(ContConf->EditSen->text(), QStringLiteral("017"));
        QVERIFY(!ContConf->EditSen->isEnabled());
        QVERIFY(!ContConf->MaskEdit1->isHidden());
        QTest::mouseDClick(ContConf->Label22, Qt::LeftButton);
        QVERIFY(ContConf->EditSen->isEnabled());
        QCOMPARE(ContConf->TimePicker2->time(), QTime(9, 5, 0));
        // The arrows start from the loaded values.
        ContConf->upDown("UpDown35")->click(1);
        QCOMPARE(ContConf->point("Point35")->text(), QStringLiteral("1,1"));
        ContConf->upDown("UpDown1")->click(1);
        QCOMPARE(ContConf->MaskEdit1->text(), QStringLiteral("3"));
        // Unticking "Add to" hides the step; ticking it resets the first number.
        ContConf->CheckBoxSen->setChecked(false);
        QVERIFY(ContConf->MaskEdit1->isHidden());
        ContConf->EditSen->setText("050");
        ContConf->CheckBoxSen->setChecked(true);
        QCOMPARE(ContConf->EditSen->text(), QStringLiteral("001"));
    }

    void badLinesAreSkipped_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("index") << 2 << "x";
        QTest::newRow("factor") << 63 << "0";
        QTest::newRow("start date") << 66 << "2024-03-01";
        QTest::newRow("stop time") << 69 << "";
    }
    void badLinesAreSkipped()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        program_ = std::make_unique<ProgramFixture>();
        QStringList lines{"Field Day", "1"};
        for (int i = 0; i < 56; ++i)
            lines << "2";
        lines << "False" << "False" << "True" << "False" << "4" << "005" << "1" << "01.03.2024" << "12:00:01"
              << "02.03.2024" << "09:05:00";
        lines[line - 1] = text;
        writeLines(program_->path("Contest.ini"), lines);
        writeLines(program_->path("ContName.tnr"), {"CQ WPX"});
        start();
        QCOMPARE(dialogs_->errors().size(), 1);
        QVERIFY2(dialogs_->errors().first().contains(QStringLiteral("line %1").arg(line)),
                 qPrintable(dialogs_->errors().first()));
        // Every other line still applies, and the names still load.
        QCOMPARE(ContConf->ComboBox1->count(), 1);
        QCOMPARE(ContConf->ComboBox1->currentText(), QStringLiteral("Field Day"));
        QCOMPARE(ContConf->RadioGroup1->itemIndex(), line == 2 ? 0 : 1);
        QCOMPARE(ContConf->SPoint->value(), line == 63 ? 1 : 4);
        QCOMPARE(ContConf->DatePicker1->date() == QDate(2024, 3, 1), line != 66);
        QCOMPARE(ContConf->TimePicker2->time() == QTime(9, 5, 0), line != 69);
        QVERIFY(ContConf->CheckBox3->isChecked());
        QCOMPARE(ContConf->EditSen->text(), QStringLiteral("005"));
        QCOMPARE(ContConf->point("PointSatr")->text(), QStringLiteral("2"));
    }

    void saveAndLoadContestFiles()
    {
        program_ = std::make_unique<ProgramFixture>();
        start();
        ContConf->ComboBox1->setCurrentText("RDXC");
        ContConf->point("Point14s")->setText("2,5");
        dialogs_->fileNames = {program_->path("rdxc"), program_->path("rdxc.tst")};
        ContConf->ButtonSav->click();
        QVERIFY(QFile::exists(program_->path("rdxc.tst")));
        QCOMPARE(dialogs_->fileDialogs.first().filter, QStringLiteral("Contest Config (*.tst);;All (*.*)"));
        ContConf->ComboBox1->setCurrentText("other");
        ContConf->point("Point14s")->setText("0");
        ContConf->ButtonOp->click();
        QCOMPARE(dialogs_->fileDialogs.last().filter, QStringLiteral("Contest Config  (*.tst);;All (*.*)"));
        QCOMPARE(ContConf->ComboBox1->currentText(), QStringLiteral("RDXC"));
        QCOMPARE(ContConf->point("Point14s")->text(), QStringLiteral("2,5"));
        QVERIFY(dialogs_->errors().isEmpty());
        QVERIFY(!QFile::exists(program_->path("rdxc.tst.tst")));
    }
};

QTEST_MAIN(TestContestFile)
#include "TestContestFile.moc"
