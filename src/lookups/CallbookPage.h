#pragma once
// What the web callbook's answer page gives the look-up window: the texts of
// the page's elements, cut to the lines that hold the station's data.

#include <QString>
#include <QStringList>

namespace Web {
class Document;
}

namespace CallbookPage {

// The page of one callsign; `pattern` holds "%1" where the callsign goes.
QString url(const QString &pattern, const QString &callsign);

// The element texts, split into lines, of every element but the page's last
// 104 (its menus and footer); nothing from a shorter page. The lines stop
// once they hold as many characters as the page.
QStringList elementLines(const Web::Document &page);

// The cut to the station's data: lines deleted by index, one step after the
// other on the lines as they then stand; an index past the end deletes nothing.
QStringList cut(QStringList lines);

// The memo: `callsign` (the one asked for) above the cut lines.
QStringList memo(const QString &callsign, const QStringList &lines);

} // namespace CallbookPage
