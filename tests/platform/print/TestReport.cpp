#include "platform/print/PdfWords.h"

#include "platform/print/Report.h"

#include <QTemporaryDir>
#include <QtTest>

class TestReport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    // A value wider than its column stops at the next column.
    void longValuesAreCut()
    {
        Print::PdfOutput pdf(dir_.filePath(QStringLiteral("cut.pdf")));
        Print::Report report;
        report.title = QStringLiteral("Title");
        report.columns = {{QString(), 0}, {QStringLiteral("Text"), 10}, {QStringLiteral("Next"), 40}};
        report.rows = {{QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ") + QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
                        QStringLiteral("after")}};
        Print::preview(report);
        QVERIFY(pdf.painted);
        QCOMPARE(pdf.previews, 1);
        QString cut;
        double nextX = 0;
        for (const PdfWord &w : pdfWords(pdf.path)) {
            if (w.text.startsWith(QLatin1String("ABC")))
                cut = w.text;
            if (w.text == QLatin1String("after"))
                nextX = w.xMm;
        }
        QVERIFY2(cut.size() > 5 && cut.size() < 52, qPrintable(cut));
        QVERIFY(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").startsWith(cut));
        QVERIFY(qAbs(nextX - 50) < 1);
    }

    // Lines go out one per printed line, on as many pages as they need.
    void linesRunOntoNewPages()
    {
        Print::PdfOutput pdf(dir_.filePath(QStringLiteral("lines.pdf")));
        QStringList lines;
        for (int k = 1; k <= 150; ++k)
            lines << QStringLiteral("line%1").arg(k);
        QVERIFY(Print::printLines(lines, QFont(QStringLiteral("Courier New"), 12)));
        QCOMPARE(pdf.jobs, 1);
        const QList<PdfWord> words = pdfWords(pdf.path);
        QStringList printed;
        for (const PdfWord &w : words)
            printed << w.text;
        QCOMPARE(printed, lines);
        QVERIFY(pdfPageCount(words) > 1);
    }

    void aJobThatCannotStartFails()
    {
        Print::PdfOutput pdf(dir_.filePath(QStringLiteral("missing/dir/lines.pdf")));
        QVERIFY(!Print::printLines({QStringLiteral("x")}, QFont()));
    }
};

QTEST_MAIN(TestReport)
#include "TestReport.moc"
