#include "core/ProgramFixture.h"
#include "platform/print/PdfWords.h"

#include "core/GlavnMod.h"
#include "core/MainClock.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/print/Report.h"
#include "platform/ui/Dialogs.h"
#include "utilities/QslLabel.h"
#include "utilities/ULabPrin.h"
#include "utilities/ULabel.h"

#include <QTimer>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString txQsl()
{
    return DM->Table1.fieldByName(QStringLiteral("LogTxQsl")).asString();
}

} // namespace

class TestQslLabels : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
    MainClock::Now previousClock_;

    void start(const QList<QList<std::pair<QString, QString>>> &contacts)
    {
        program_->addRows(QStringLiteral("Log/Log1"), QStringLiteral("Tarnel"), contacts);
        createWindowSet();
    }

private slots:
    // ---- rules without a window
    void fill_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("notepad");
        QTest::addColumn<QString>("rxQsl");
        QTest::addColumn<QString>("filled");
        QTest::newRow("every tag") << "<CALL>|<DATE>|<TIME>|<BAND>|<MODE>|<RST>|<REMARK>" << "" << ""
                                   << "UR5ABC|08.12.2026|20:01:02|14|CW|599|Pse QSL";
        QTest::newRow("first occurrence only") << "<CALL> <CALL> <RST><RST>" << "" << ""
                                               << "UR5ABC <CALL> 599<RST>";
        QTest::newRow("confirmed") << "<REMARK>" << "" << "Yes" << "Tnx QSL";
        QTest::newRow("via removed") << "[<VIA>]" << "via W1XYZ\nsecond line" << "" << "[ W1XYZ]";
        QTest::newRow("via in any case") << "[<VIA>]" << "QSL Via EA5ZZ" << "" << "[QSL  EA5ZZ]";
        QTest::newRow("first VIA of the line") << "Via [<VIA>]" << "VIA K1AA" << "" << " [VIA K1AA]";
        QTest::newRow("no via leaves nothing") << "[<VIA>]" << "name Ivan" << "" << "[]";
        QTest::newRow("via off the first line") << "[<VIA>]" << "Ivan\nvia K1AA" << "" << "[Ivan]";
        QTest::newRow("first of CR LF lines") << "[<VIA>]" << "via W1XYZ\r\nsecond\tline" << "" << "[ W1XYZ]";
        QTest::newRow("first of lone-CR lines") << "[<VIA>]" << "via W1XYZ\rsecond" << "" << "[ W1XYZ]";
    }
    void fill()
    {
        QFETCH(QString, line);
        QFETCH(QString, notepad);
        QFETCH(QString, rxQsl);
        QFETCH(QString, filled);
        const QslLabel::Contact c{"UR5ABC", notepad, "08.12.2026", "20:01:02", "14", "CW", "599", rxQsl};
        const QslLabel::Filled result = QslLabel::fill({line}, c);
        QCOMPARE(result.lines, QStringList{filled});
        QCOMPARE(result.callPlaced, line.contains(QLatin1String("<CALL>")));
    }

    void defaultTemplate()
    {
        const QStringList t = QslLabel::defaultTemplate();
        QCOMPARE(t.size(), 16);
        QCOMPARE(t[0], QString(26, u' '));
        QCOMPARE(t[1], QString(23, u' '));
        QCOMPARE(t[15], QString(40, u' '));
        QCOMPARE(t[7].indexOf(QLatin1String("<CALL>")) + 1, 22);
        QCOMPARE(t[7].indexOf(QLatin1String("<VIA>")) + 1, 74);
        for (const auto &[tag, column] : {std::pair{"<DATE>", 8}, {"<TIME>", 29}, {"<BAND>", 41}, {"<MODE>", 55}, {"<RST>", 76}})
            QCOMPARE(t[11].indexOf(QLatin1String(tag)) + 1, column);
        QCOMPARE(t[14].indexOf(QLatin1String("<REMARK>")) + 1, 46);
        QCOMPARE(QslLabel::lines(QString::fromUtf8(QslLabel::compose(t))), t);
    }

    void fontFile_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<QString>("letters");
        QTest::newRow("plain") << false << false << false << "N";
        QTest::newRow("bold") << true << false << false << "B";
        QTest::newRow("italic") << false << true << false << "I";
        QTest::newRow("bold italic") << true << true << false << "BI";
        QTest::newRow("bold underlined") << true << false << true << "N";
    }
    void fontFile()
    {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(QString, letters);
        QFont font(QStringLiteral("Liberation Mono"), 13);
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        const QByteArray file = QslLabel::composeFont(font);
        QCOMPARE(file, "Liberation Mono\r\n13\r\n" + letters.toLatin1() + "\r\n");
        // "N" keeps the style the memo had.
        QFont design(QStringLiteral("Courier New"), 10);
        design.setItalic(true);
        const QslLabel::FontReading back = QslLabel::parseFont(QString::fromLatin1(file), design);
        QCOMPARE(back.problem, QString());
        QCOMPARE(back.font.family(), QStringLiteral("Liberation Mono"));
        QCOMPARE(back.font.pointSize(), 13);
        QCOMPARE(back.font.bold(), letters == QLatin1String("N") ? false : bold);
        QCOMPARE(back.font.italic(), letters == QLatin1String("N") ? true : italic);
    }

    // ---- through the windows
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
        previousClock_ = MainClock::setNow([] { return QDateTime(QDate(2026, 12, 9), QTime(1, 0)); });
    }
    void cleanup()
    {
        destroyWindowSet();
        MainClock::setNow(previousClock_);
        dialogs_.reset();
        program_.reset();
    }

    void badSizeLineKeepsTheTemplate()
    {
        const QByteArray operatorTemplate = "My label\r\n  <CALL>  \r\n";
        writeBytes(program_->path(QslLabel::templateFileName), operatorTemplate);
        writeBytes(program_->path(QslLabel::fontFileName), "Liberation Mono\r\nbig\r\nB\r\n");
        start({});
        QCOMPARE(dialogs_->errors(), QStringList{"'big' is not a valid integer value"});
        QCOMPARE(memoLines(Flabel->Memo1), (QStringList{"My label", "  <CALL>  "}));
        QCOMPARE(Flabel->Memo1->font().pointSize(), QslLabel::defaultFont().pointSize());
        QVERIFY(Flabel->Memo1->font().bold());
        Flabel->closeWindow();
        QCOMPARE(fileBytes(program_->path(QslLabel::templateFileName)), operatorTemplate);
    }

    // A label file that cannot be read keeps the operator's template on close.
    void unreadableFileKeepsTheTemplate_data()
    {
        QTest::addColumn<QString>("unreadable");
        QTest::addColumn<int>("errors"); // reading it, and writing the font into a folder
        QTest::newRow("template") << QString::fromLatin1(QslLabel::templateFileName) << 1;
        QTest::newRow("font") << QString::fromLatin1(QslLabel::fontFileName) << 2;
    }
    void unreadableFileKeepsTheTemplate()
    {
        QFETCH(QString, unreadable);
        QFETCH(int, errors);
        const QString templatePath = program_->path(QslLabel::templateFileName);
        writeBytes(templatePath, "My label\r\n");
        if (unreadable == QLatin1String(QslLabel::templateFileName))
            QVERIFY(QFile::remove(templatePath));
        QVERIFY(QDir().mkpath(program_->path(unreadable))); // a folder cannot be read as a file
        const QByteArray before = fileBytes(templatePath);
        start({});
        Flabel->closeWindow();
        QCOMPARE(dialogs_->errors().size(), errors);
        QCOMPARE(fileBytes(templatePath), before);
    }

    void fontChosenIsKept()
    {
        start({});
        QFont chosen(QStringLiteral("Liberation Sans"), 15);
        chosen.setBold(true);
        chosen.setUnderline(true);
        dialogs_->fonts.push_back(chosen);
        Flabel->Font1->trigger();
        Flabel->closeWindow();
        QCOMPARE(fileBytes(program_->path(QslLabel::fontFileName)), "Liberation Sans\r\n15\r\nN\r\n");
        QCOMPARE(fileBytes(program_->path(QslLabel::templateFileName)), QslLabel::compose(QslLabel::defaultTemplate()));
    }

    // "Print QSL label" reads the files, fills from the selected contact,
    // and Yes puts today's date into it once the label is printed.
    void printMarksTheContact()
    {
        writeBytes(program_->path(QslLabel::templateFileName), "<CALL> <BAND> <REMARK>\r\n");
        start({{{"LogCall", "UR5ABC"}, {"LogBand", "14"}, {"LogDate", "08.12.2026"}, {"LogTime", "20:00:00"}}});
        QTimer::singleShot(0, FLabPrint, [] { FLabPrint->Button4->click(); });
        Form3->PrintQSLlabel1->trigger();
        QCOMPARE(FLabPrint->Edit1->text(), QStringLiteral("UR5ABC"));
        QCOMPARE(memoLines(FLabPrint->Memo1), QStringList{"UR5ABC 14 Pse QSL"});

        Print::PdfOutput pdf(program_->path("label.pdf"));
        dialogs_->answers = {Ui::Answer::No, Ui::Answer::Yes};
        FLabPrint->Button1->click();
        QCOMPARE(txQsl(), QString());
        FLabPrint->Button1->click();
        QCOMPARE(txQsl(), QStringLiteral("09.12.2026"));
        QCOMPARE(dialogs_->questions(), QStringList(2, "Insert Date in Log ?"));
        QCOMPARE(pdf.jobs, 2);
        QStringList printed;
        for (const PdfWord &w : pdfWords(pdf.path))
            printed << w.text;
        QCOMPARE(printed, (QStringList{"UR5ABC", "14", "Pse", "QSL"}));
    }

    // Without a template file each opening starts from the layout's template
    // again, never from the label filled for the previous contact.
    void labelFollowsTheContactWithoutFiles()
    {
        start({{{"LogCall", "UR5ABC"}, {"LogDate", "01.12.2026"}}, {{"LogCall", "DL1XYZ"}, {"LogDate", "02.12.2026"}}});
        for (const QString &call : {QStringLiteral("UR5ABC"), QStringLiteral("DL1XYZ")}) {
            QVERIFY(DM->Table1.locate("LogCall", call));
            QTimer::singleShot(0, FLabPrint, [] { FLabPrint->Button4->click(); });
            Form3->PrintQSLlabel1->trigger();
            QCOMPARE(FLabPrint->Edit1->text(), call);
            QVERIFY(memoLines(FLabPrint->Memo1).join(u'\n').contains(call));
        }
    }

    // Dating the contact being edited: its save keeps the date. Dating
    // another contact leaves the entry as it was.
    void datingWhileEditing_data()
    {
        QTest::addColumn<bool>("next");
        QTest::newRow("the edited contact") << false;
        QTest::newRow("the next contact") << true;
    }
    void datingWhileEditing()
    {
        QFETCH(bool, next);
        const auto contact = [](const char *call, const char *date) {
            return QList<std::pair<QString, QString>>{{"LogCall", call}, {"LogDate", date}, {"LogTime", "10:00:00"},
                                                      {"LogBand", "14"},  {"LogMode", "CW"},  {"LogRxRst", "599"},
                                                      {"LogTxRst", "599"}, {"LogTxQsl", "Yes"}};
        };
        start({contact("UR5ABC", "01.12.2026"), contact("DL1XYZ", "02.12.2026")});
        DM->Table1.first();
        Form3->ButtonEditClick();
        if (next)
            FLabPrint->Button3->click();
        Print::PdfOutput pdf(program_->path("label.pdf"));
        dialogs_->answers = {Ui::Answer::Yes};
        FLabPrint->Button1Click();
        const QString today = QStringLiteral("09.12.2026");
        QCOMPARE(Form3->MaskEditQslTx->text(), next ? QStringLiteral("Yes") : today);
        Form3->ButtonSaveClick();
        QCOMPARE(dialogs_->errors(), QStringList());
        QVERIFY(DM->Table1.locate("LogCall", "UR5ABC"));
        QCOMPARE(txQsl(), next ? QStringLiteral("Yes") : today);
        QVERIFY(DM->Table1.locate("LogCall", "DL1XYZ"));
        QCOMPARE(txQsl(), next ? today : QStringLiteral("Yes"));
    }

    void failedPrintWritesNoDate()
    {
        start({{{"LogCall", "UR5ABC"}}});
        Print::PdfOutput pdf(program_->path("no/such/dir/label.pdf"));
        dialogs_->answers = {Ui::Answer::Yes};
        FLabPrint->Button1Click();
        QCOMPARE(dialogs_->errors().size(), 1);
        QCOMPARE(txQsl(), QString());
    }

    void emptyLogGetsNoRow()
    {
        start({});
        Print::PdfOutput pdf(program_->path("label.pdf"));
        dialogs_->answers = {Ui::Answer::Yes};
        FLabPrint->Button5Click();
        FLabPrint->Button1Click();
        QCOMPARE(pdf.jobs, 1);
        QCOMPARE(dialogs_->errors(), QStringList());
        QCOMPARE(DM->Table1.recordCount(), 0);
        QVERIFY(memoLines(FLabPrint->Memo1).join(u'\n').contains(QLatin1String("Pse QSL")));
    }

    // In edit mode the notepad holds the edited contact's notes; the label
    // of the next contact takes its own.
    void viaFollowsTheRowAfterNext()
    {
        start({{{"LogCall", "UR5ABC"}, {"LogDate", "01.12.2026"}, {"LogNotepad", "via AB1CD"}},
               {{"LogCall", "DL1XYZ"}, {"LogDate", "02.12.2026"}, {"LogNotepad", "VIA W1XYZ\nsome notes"}}});
        DM->Table1.first();
        Form3->ButtonEditClick();
        setMemoLines(Flabel->Memo1, {"<CALL> <VIA>"});
        FLabPrint->Button3->click();
        QCOMPARE(FLabPrint->Edit1->text(), QStringLiteral("DL1XYZ"));
        QCOMPARE(memoLines(FLabPrint->Memo1), QStringList{"DL1XYZ  W1XYZ"});
        FLabPrint->Button2->click();
        QCOMPARE(memoLines(FLabPrint->Memo1), QStringList{"UR5ABC  AB1CD"});
    }
};

QTEST_MAIN(TestQslLabels)
#include "TestQslLabels.moc"
