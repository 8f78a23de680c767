#pragma once
// A small banded report: a title on the first page, a column header at the
// top of every page and one numbered detail line per row, on A4 portrait with
// 10 mm margins. The rows are handed over as a finished list, so the preview
// can draw them as often as it likes (once to show, again to print).
//
// Printing goes through two seams: the preview (Qt's print preview, where
// the operator prints) and the printer a print job opens (the default
// printer). Tests put PdfOutput in place, and nothing opens a window or a
// printer.

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QFontMetricsF;
class QPrinter;

namespace Print {

struct Column {
    QString header;    // "" for none
    double leftMm = 0; // from the left edge of the printable area
};

struct Report {
    QString title;
    QFont titleFont;
    QFont headerFont;
    QFont detailFont;
    // The first column gets each line's running number (from 1); the texts
    // of a row fill the columns after it. A text too long for its column is
    // cut at the next column; the headers are printed whole.
    QList<Column> columns;
    QList<QStringList> rows;
};

// A4 portrait, 10 mm margins on every side.
void setUpPage(QPrinter &printer);

// Draws the report on `printer`; false when the printer cannot be opened or
// the job cannot be finished.
bool paint(QPrinter &printer, const Report &report);

// The longest start of `text` that fits in `width` with these metrics.
QString fitting(const QString &text, const QFontMetricsF &metrics, double width);

// Shows the report in the print preview; returns when the preview closes.
void preview(const Report &report);

// Prints `lines` on the default printer in `font`, one printed line per
// line, beginning a new page when one is full. False when there is no
// printer, or the job could not be started or finished.
bool printLines(const QStringList &lines, const QFont &font);

// ---- seams
using Previewer = std::function<void(const Report &)>;
// Puts `previewer` in place (an empty one restores Qt's preview); returns the previous one.
Previewer setPreviewer(Previewer previewer);

// The printer a print job opens: nothing when there is none.
using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;
// Puts `factory` in place (an empty one restores the default printer); returns the previous one.
PrinterFactory setPrinterFactory(PrinterFactory factory);

// For tests: every job, and every preview, prints into the PDF file `path`;
// a preview paints twice, as Qt's preview does when the operator prints from
// it. Installs itself while it lives.
class PdfOutput {
public:
    explicit PdfOutput(const QString &path);
    ~PdfOutput();
    PdfOutput(const PdfOutput &) = delete;
    PdfOutput &operator=(const PdfOutput &) = delete;

    QString path;
    int previews = 0;
    int jobs = 0;       // print jobs opened (not previews)
    bool painted = false; // the last preview painted both times
    // Runs while a preview would be open.
    std::function<void()> onPreview;

private:
    Previewer previousPreviewer_;
    PrinterFactory previousFactory_;
};

} // namespace Print
