#include "platform/print/Report.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace Print {

namespace {

Previewer &installedPreviewer()
{
    static Previewer previewer;
    return previewer;
}

PrinterFactory &installedFactory()
{
    static PrinterFactory factory;
    return factory;
}

std::unique_ptr<QPrinter> openPrinter()
{
    if (installedFactory())
        return installedFactory()();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void qtPreview(const Report &report)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPage(printer);
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    Ui::connectGuarded(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&report](QPrinter *target) {
        if (!paint(*target, report))
            Ui::showError(QStringLiteral("The report could not be printed."));
    });
    dialog.exec();
}

std::unique_ptr<QPrinter> pdfPrinter(const QString &path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    setUpPage(*printer);
    return printer;
}

// Where the printable area ends, in device pixels from its top left corner.
QSizeF printableSize(const QPrinter &printer)
{
    return printer.pageLayout().paintRectPixels(printer.resolution()).size();
}

} // namespace

void setUpPage(QPrinter &printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
}

QString fitting(const QString &text, const QFontMetricsF &metrics, double width)
{
    qsizetype length = text.size();
    while (length > 0 && metrics.horizontalAdvance(text.left(length)) > width)
        --length;
    return text.left(length);
}

bool paint(QPrinter &printer, const Report &report)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double perMm = printer.resolution() / 25.4;
    const QSizeF page = printableSize(printer);
    const QFontMetricsF titleMetrics(report.titleFont, &printer);
    const QFontMetricsF headerMetrics(report.headerFont, &printer);
    const QFontMetricsF detailMetrics(report.detailFont, &printer);

    const auto left = [&](int c) { return report.columns[c].leftMm * perMm; };
    const auto width = [&](int c) { return (c + 1 < report.columns.size() ? left(c + 1) : page.width()) - left(c); };
    const auto detail = [&](double y, const QStringList &texts) {
        painter.setFont(report.detailFont);
        for (int c = 0; c < report.columns.size() && c < texts.size(); ++c)
            painter.drawText(QRectF(left(c), y, width(c), detailMetrics.height()), Qt::AlignLeft | Qt::AlignTop,
                             fitting(texts[c], detailMetrics, width(c)));
        return y + detailMetrics.lineSpacing();
    };
    // The headers are the report's own short texts: they are printed whole,
    // even where one reaches into the next column.
    const auto header = [&](double y) {
        painter.setFont(report.headerFont);
        for (const Column &c : report.columns)
            painter.drawText(QPointF(c.leftMm * perMm, y + headerMetrics.ascent()), c.header);
        return y + headerMetrics.lineSpacing() + perMm;
    };

    painter.setFont(report.titleFont);
    painter.drawText(QRectF(0, 0, page.width(), titleMetrics.height()), Qt::AlignLeft | Qt::AlignTop,
                     fitting(report.title, titleMetrics, page.width()));
    double y = header(titleMetrics.lineSpacing() + 2 * perMm);
    for (int r = 0; r < report.rows.size(); ++r) {
        if (y + detailMetrics.height() > page.height()) {
            if (!printer.newPage()) {
                painter.end();
                return false;
            }
            y = header(0);
        }
        y = detail(y, QStringList{QString::number(r + 1)} + report.rows[r]);
    }
    return painter.end();
}

void preview(const Report &report)
{
    if (installedPreviewer())
        installedPreviewer()(report);
    else
        qtPreview(report);
}

bool printLines(const QStringList &lines, const QFont &font)
{
    const std::unique_ptr<QPrinter> printer = openPrinter();
    if (!printer)
        return false;
    QPainter painter;
    if (!painter.begin(printer.get()))
        return false;
    painter.setFont(font);
    const QFontMetricsF metrics(font, printer.get());
    const double height = printableSize(*printer).height();
    double y = 0;
    for (const QString &text : lines) {
        if (y > 0 && y + metrics.height() > height) {
            if (!printer->newPage()) {
                painter.end();
                return false;
            }
            y = 0;
        }
        // Lines wider than the page go out as they are.
        painter.drawText(QPointF(0, y + metrics.ascent()), text);
        y += metrics.lineSpacing();
    }
    return painter.end();
}

Previewer setPreviewer(Previewer previewer)
{
    return std::exchange(installedPreviewer(), std::move(previewer));
}

PrinterFactory setPrinterFactory(PrinterFactory factory)
{
    return std::exchange(installedFactory(), std::move(factory));
}

PdfOutput::PdfOutput(const QString &path) : path(path)
{
    previousPreviewer_ = setPreviewer([this](const Report &report) {
        ++previews;
        if (onPreview)
            onPreview();
        const std::unique_ptr<QPrinter> printer = pdfPrinter(this->path);
        painted = paint(*printer, report);
        painted = paint(*printer, report) && painted;
    });
    previousFactory_ = setPrinterFactory([this] {
        ++jobs;
        return pdfPrinter(this->path);
    });
}

PdfOutput::~PdfOutput()
{
    setPreviewer(std::move(previousPreviewer_));
    setPrinterFactory(std::move(previousFactory_));
}

} // namespace Print
