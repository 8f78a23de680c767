#include "lookups/CallbookPage.h"

#include "platform/web/WebPage.h"

#include <QUrl>

namespace CallbookPage {

namespace {

constexpr int skippedLastElements = 104;

struct Deletion {
    int line;
    int times;
};

// Fits the page layout of the service's station pages.
const Deletion recipe[] = {{1, 10}, {11, 6}, {8, 2}, {7, 1}, {8, 2}, {0, 2}};

} // namespace

QString url(const QString &pattern, const QString &callsign)
{
    return pattern.arg(QString::fromLatin1(QUrl::toPercentEncoding(callsign)));
}

QStringList elementLines(const Web::Document &page)
{
    // Each element's text holds those nested in it: a hostile page of nested
    // elements would ask for the square of its size. No more than the page's
    // own size is taken; the first element's text, the whole page's, which
    // holds the station's data, always fits.
    QStringList lines;
    qsizetype held = 0;
    page.eachText(page.count() - skippedLastElements, [&](const QString &text) {
        for (const QString &line : text.split(u'\n')) {
            lines << line;
            held += line.size();
            if (held >= page.sourceLength())
                return false;
        }
        return true;
    });
    return lines;
}

QStringList cut(QStringList lines)
{
    for (const Deletion &d : recipe)
        for (int n = 0; n < d.times; ++n)
            if (d.line < lines.size())
                lines.removeAt(d.line);
    return lines;
}

QStringList memo(const QString &callsign, const QStringList &lines)
{
    QStringList result = cut(lines);
    result.prepend(callsign);
    return result;
}

} // namespace CallbookPage
