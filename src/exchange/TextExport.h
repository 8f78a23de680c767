#pragma once
// The plain-text export: one contact per line in fixed columns.

#include "exchange/AdifWriter.h"

#include <QByteArray>
#include <QString>

namespace TextExport {

// "Tarnel" and an empty line, with CR LF line ends.
QByteArray header();
// Only contacts with a call, date, time, band and mode are written.
bool isWritten(const LogRowTexts &row);
// The line without its line end: the fields inserted into 30 blanks at their
// columns, each insertion shifting what follows.
QString line(const LogRowTexts &row);

} // namespace TextExport
