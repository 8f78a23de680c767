#include "utilities/LogReport.h"

#include "core/Unit2.h"
#include "platform/table/Table.h"
#include "platform/ui/Guard.h"

#include <QFontMetricsF>
#include <QImage>

namespace LogReport {

namespace {

struct LogColumn {
    const char *header;
    const char *field; // nullptr: the running number
    double leftMm;
};

const QList<LogColumn> &columnsOf(Kind kind)
{
    static const QList<LogColumn> log{
        {"", nullptr, 0},           {"Callsignal", "LogCall", 8}, {"Date", "LogDate", 36},
        {"Time", "LogTime", 61},    {"Band", "LogBand", 83},      {"Mode", "LogMode", 93},
        {"Send", "LogTxRst", 108},  {"Rcvd", "LogRxRst", 119},    {"QTH", "LogQth", 129},
        {"Name", "LogName", 167},
    };
    static const QList<LogColumn> contest{
        {"", nullptr, 0},          {"Time", "LogTime", 13},   {"Date", "LogDate", 30},
        {"Callsignal", "LogCall", 55}, {"Band", "LogBand", 83},   {"Mode", "LogMode", 93},
        {"Send", "LogTxRst", 108}, {"NR Tx", "Log3", 119},    {"Rcvd", "LogRxRst", 142},
        {"NR Rx", "Log2", 152},
    };
    return kind == Kind::Log ? log : contest;
}

QFont arial(int points)
{
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(true);
    return font;
}

QFont bandFont(int points)
{
    QFont font = arial(points);
    font.setUnderline(true);
    return font;
}

} // namespace

QFont defaultPrintFont()
{
    return arial(10);
}

Print::Report build(Kind kind, const Db::Table &log, const QString &title, const QFont &printFont)
{
    Print::Report report;
    report.title = title;
    report.titleFont = bandFont(14);
    report.headerFont = bandFont(10);
    report.detailFont = printFont;
    QList<int> positions; // of the fields in the texts read; -1 for a field the log lacks
    QStringList read;
    for (const LogColumn &c : columnsOf(kind)) {
        report.columns.append({QString::fromLatin1(c.header), c.leftMm});
        if (!c.field)
            continue;
        const QString name = QString::fromLatin1(c.field);
        const bool present = log.isActive() && log.schema().fieldIndex(name) >= 0;
        positions << (present ? int(read.size()) : -1);
        if (present)
            read << name;
    }
    if (!log.isActive())
        return report;
    log.walkRows(read, [&](qint64, const QStringList &row) {
        QStringList texts;
        for (int p : positions)
            texts << (p >= 0 ? row.at(p) : QString());
        report.rows.append(texts);
    });
    report.columns = withRoomForNumbers(report.columns, report.rows.size(), printFont);
    return report;
}

QList<Print::Column> withRoomForNumbers(QList<Print::Column> columns, qsizetype rowCount, const QFont &font)
{
    if (columns.size() < 2)
        return columns;
    // Measured at a printer's resolution, where text takes the room it
    // takes on paper.
    constexpr int dotsPerInch = 1200;
    QImage page(1, 1, QImage::Format_Mono);
    page.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    page.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    const QFontMetricsF metrics(font, &page);
    double digit = 0;
    for (char16_t d = u'0'; d <= u'9'; ++d)
        digit = qMax(digit, metrics.horizontalAdvance(QChar(d)));
    const qsizetype digits = QString::number(rowCount).size();
    const double neededMm = (digits * digit + metrics.horizontalAdvance(QLatin1Char(' '))) * 25.4 / dotsPerInch;
    const double missingMm = neededMm - (columns[1].leftMm - columns[0].leftMm);
    if (missingMm > 0)
        for (qsizetype c = 1; c < columns.size(); ++c)
            columns[c].leftMm += missingMm;
    return columns;
}

void preview(Kind kind, const QString &title, const QFont &printFont, const std::function<void()> &afterPreview)
{
    // The grid must not follow anything while the report is read and shown.
    DM->DataSource1.setEnabled(false);
    struct Attach {
        const std::function<void()> &step;
        ~Attach() { Ui::runRestoring(step); }
    } attach{afterPreview};
    Print::preview(build(kind, DM->Table1, title, printFont));
}

} // namespace LogReport
