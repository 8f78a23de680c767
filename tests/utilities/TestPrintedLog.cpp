#include "core/ProgramFixture.h"
#include "platform/print/PdfWords.h"

#include "contest/UContest.h"
#include "core/GlavnMod.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/print/Report.h"
#include "platform/ui/Dialogs.h"

namespace {

QList<PdfWord> wordsOn(const QList<PdfWord> &words, const QString &text)
{
    QList<PdfWord> found;
    for (const PdfWord &w : words)
        if (w.text == text)
            found << w;
    return found;
}

// The running numbers in printed order, each with its page.
QList<std::pair<int, int>> numbers(const QList<PdfWord> &words)
{
    QList<std::pair<int, int>> found;
    for (const PdfWord &w : words)
        if (w.xMm < 15 && w.text.toInt() > 0)
            found.append({w.text.toInt(), w.page});
    return found;
}

} // namespace

class TestPrintedLog : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<Ui::ScriptedDialogs> dialogs_;
    std::unique_ptr<Print::PdfOutput> pdf_;

    // Every contact with `call`, or with a call of its own ("K1AA", ...).
    void start(int contacts, const QString &call = {})
    {
        QList<QList<std::pair<QString, QString>>> rows;
        for (int k = 1; k <= contacts; ++k)
            rows.append({{"LogCall", call.isEmpty() ? QStringLiteral("K%1AA").arg(k) : call},
                         {"LogDate", "01.12.2026"},
                         {"LogTime", QStringLiteral("10:%1:00").arg(k % 60, 2, 10, QChar(u'0'))},
                         {"LogBand", "14"},
                         {"LogMode", "CW"},
                         {"LogQth", "A QTH much longer than its printed column"},
                         {"LogTxRst", "599"},
                         {"LogRxRst", "579"},
                         {"Log1", k % 2 ? "1" : "0"},
                         {"Log2", "R7"},
                         {"Log3", QStringLiteral("%1").arg(k, 3, 10, QChar(u'0'))}});
        program_->addRows(QStringLiteral("Log/Log1"), QStringLiteral("Tarnel"), rows);
        createWindowSet();
        Config->MaskEditC->setText("UT1AA");
        ContConf->ComboBox1->setCurrentText("CQ WW DX");
        pdf_ = std::make_unique<Print::PdfOutput>(program_->path("log.pdf"));
        pdf_->onPreview = [] { QVERIFY(!DM->DataSource1.isEnabled()); };
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        dialogs_ = std::make_unique<Ui::ScriptedDialogs>();
    }
    void cleanup()
    {
        pdf_.reset();
        destroyWindowSet();
        dialogs_.reset();
        program_.reset();
    }

    void titleOnceHeadersOnEveryPage()
    {
        start(160);
        Form3->LogPrint->trigger();
        QCOMPARE(pdf_->previews, 1);
        QVERIFY(pdf_->painted);
        QVERIFY(DM->DataSource1.isEnabled());
        const QList<PdfWord> words = pdfWords(pdf_->path);
        const int pages = pdfPageCount(words);
        QVERIFY(pages >= 3);
        const QList<PdfWord> title = wordsOn(words, "UT1AA");
        QCOMPARE(title.size(), 1);
        QCOMPARE(title[0].page, 1);
        QCOMPARE(wordsOn(words, "Log").size(), 1);
        // Each page's header row: the texts in order, each word at a column
        // (margin 10 mm plus its place). How close "Band" comes to "Mode" and
        // "Rcvd" to "QTH" depends on the machine's bold font; a PDF joins
        // touching words, so those two only have to start their word.
        const QList<double> columns{8, 36, 61, 83, 93, 108, 119, 129, 167};
        const QList<PdfWord> call = wordsOn(words, "Callsignal");
        QCOMPARE(call.size(), pages);
        for (int p = 1; p <= pages; ++p) {
            QList<PdfWord> row;
            for (const PdfWord &w : words)
                if (w.page == p && qAbs(w.yMm - call[p - 1].yMm) < 0.5)
                    row << w;
            std::sort(row.begin(), row.end(), [](const PdfWord &a, const PdfWord &b) { return a.xMm < b.xMm; });
            QString joined;
            QList<double> starts;
            for (const PdfWord &w : row) {
                joined += w.text;
                starts << w.xMm - 10;
                QVERIFY2(std::any_of(columns.cbegin(), columns.cend(), [&](double c) { return qAbs(c - starts.last()) < 1; }),
                         qPrintable(w.text));
            }
            QCOMPARE(joined, QStringLiteral("CallsignalDateTimeBandModeSendRcvdQTHName"));
            for (double left : {8, 36, 61, 83, 108, 119, 167})
                QVERIFY(std::any_of(starts.cbegin(), starts.cend(), [&](double x) { return qAbs(x - left) < 1; }));
        }
        const QList<std::pair<int, int>> numbered = numbers(words);
        QCOMPARE(numbered.size(), 160);
        for (int k = 0; k < numbered.size(); ++k)
            QCOMPARE(numbered[k].first, k + 1);
        QCOMPARE(numbered.last().second, pages);
        // The QTH stops where the name column begins.
        QVERIFY(wordsOn(words, "column").isEmpty());
    }

    void aRangePrintsOnlyItsRows()
    {
        start(6);
        DM->Table1.setIndexName(QStringLiteral("By1"));
        DM->Table1.setRange(QStringLiteral("1"), QStringLiteral("1"));
        DM->Table1.last();
        const qint64 current = DM->Table1.currentRowId();
        Form3->LogPrint->trigger();
        QCOMPARE(DM->Table1.currentRowId(), current);
        const QList<PdfWord> words = pdfWords(pdf_->path);
        QStringList calls;
        for (const PdfWord &w : words)
            if (w.text.startsWith(QLatin1String("K")))
                calls << w.text;
        QCOMPARE(calls, (QStringList{"K1AA", "K3AA", "K5AA"}));
        QCOMPARE(numbers(words).size(), 3);
    }

    void anEmptyLogPrintsTitleAndHeaders()
    {
        start(0);
        Form3->LogPrint->trigger();
        QVERIFY(pdf_->painted);
        const QList<PdfWord> words = pdfWords(pdf_->path);
        QCOMPARE(wordsOn(words, "UT1AA").size(), 1);
        QCOMPARE(wordsOn(words, "Callsignal").size(), 1);
        QVERIFY(numbers(words).isEmpty());
        QVERIFY(DM->DataSource1.isEnabled());
    }

    // A running number too wide for its column moves the columns after it
    // just enough for a blank before the callsign; below 1000 contacts
    // every column stays where it is.
    void numbersClearOfTheCallsign_data()
    {
        QTest::addColumn<int>("contacts");
        QTest::addColumn<bool>("asLaidOut");
        QTest::newRow("3 digits") << 999 << true;
        QTest::newRow("4 digits") << 1000 << false;
        QTest::newRow("5 digits") << 10000 << false;
    }
    void numbersClearOfTheCallsign()
    {
        QFETCH(int, contacts);
        QFETCH(bool, asLaidOut);
        const QString call = QStringLiteral("9A/DL1ABC/P");
        start(contacts, call);
        Form3->LogPrint->trigger();
        const QList<PdfWord> words = pdfWords(pdf_->path);
        const QList<PdfWord> calls = wordsOn(words, call);
        QList<PdfWord> numbered;
        for (const PdfWord &w : words)
            if (w.xMm < 15 && w.text.toInt() > 0)
                numbered << w;
        // Not one number ran into its callsign and made one word of both.
        QCOMPARE(calls.size(), contacts);
        QCOMPARE(numbered.size(), contacts);
        for (qsizetype k = 0; k < numbered.size(); ++k) {
            const PdfWord &number = numbered[k];
            const PdfWord &callsign = calls[k];
            QCOMPARE(number.text, QString::number(k + 1));
            QVERIFY(callsign.page == number.page && qAbs(callsign.yMm - number.yMm) < 0.5);
            QVERIFY2(number.xMm + number.widthMm < callsign.xMm, qPrintable(number.text));
            // From the row's number, whatever the PDF's own offset.
            if (asLaidOut)
                QVERIFY2(qAbs(callsign.xMm - number.xMm - 8) < 0.05, qPrintable(number.text));
        }
    }

    // The contest log: its own columns, its name as the title, and the print
    // font chosen under "Print Setup".
    void contestLogInTheChosenFont()
    {
        start(2);
        Form3->Printer1->trigger();
        QVERIFY(DM->DataSource1.isEnabled());
        QList<PdfWord> words = pdfWords(pdf_->path);
        QCOMPARE(wordsOn(words, "WW").size(), 1);
        QCOMPARE(wordsOn(words, "WW")[0].page, 1);
        // The first row; a value wider than its column in the machine's
        // bold font is cut, so only its start is certain.
        for (const auto &[value, left] : {std::pair{"10:01", 13}, {"01.12", 30}, {"K1AA", 55}, {"14", 83},
                                          {"CW", 93}, {"599", 108}, {"001", 119}, {"579", 142}, {"R7", 152}}) {
            const auto found = std::find_if(words.cbegin(), words.cend(),
                                            [&](const PdfWord &w) { return w.text.startsWith(QLatin1String(value)); });
            QVERIFY2(found != words.cend() && qAbs(found->xMm - 10 - left) < 1, value);
        }
        QCOMPARE(wordsOn(words, "K1AA").size(), 1);
        const double normal = wordsOn(words, "K1AA")[0].heightMm;

        dialogs_->fonts.push_back(QFont(QStringLiteral("Liberation Sans"), 20));
        Form3->LogPrintSetup->trigger();
        QCOMPARE(dialogs_->texts(Ui::ScriptedDialogs::Shown::Font), QStringList{"Arial"});
        Form3->Printer1->trigger();
        words = pdfWords(pdf_->path);
        QCOMPARE(wordsOn(words, "K1AA").size(), 1);
        QVERIFY(wordsOn(words, "K1AA")[0].heightMm > 1.5 * normal);
    }
};

QTEST_MAIN(TestPrintedLog)
#include "TestPrintedLog.moc"
