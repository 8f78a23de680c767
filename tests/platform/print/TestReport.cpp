#include "platform/print/PdfWords.h"

#include "platform/print/Report.h"

#include <QTemporaryDir>
#include <QtTest>

class TestReport : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
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
};

QTEST_MAIN(TestReport)
#include "TestReport.moc"
