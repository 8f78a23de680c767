#pragma once
// The words of a printed PDF file with their pages and positions, as
// `pdftotext -bbox` gives them (poppler-utils).

#include <QFile>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTextDocumentFragment>

struct PdfWord {
    int page = 0;    // from 1
    double xMm = 0;  // left edge from the paper's left edge
    double yMm = 0;  // top edge from the paper's top edge
    double heightMm = 0;
    QString text;
    double widthMm = 0;
};

inline QList<PdfWord> pdfWords(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression tag(
        QStringLiteral(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    constexpr double mmPerPoint = 25.4 / 72;
    QList<PdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch &m : tag.globalMatch(html)) {
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const double left = m.captured(1).toDouble();
        const double top = m.captured(2).toDouble();
        words.append({page, left * mmPerPoint, top * mmPerPoint, (m.captured(4).toDouble() - top) * mmPerPoint,
                      QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText(),
                      (m.captured(3).toDouble() - left) * mmPerPoint});
    }
    return words;
}

inline int pdfPageCount(const QList<PdfWord> &words)
{
    return words.isEmpty() ? 0 : words.last().page;
}
