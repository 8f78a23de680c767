#include "exchange/TextExport.h"

#include "platform/format/TextFormat.h"

namespace TextExport {

QByteArray header()
{
    return QByteArray("Tarnel") + AdifWriter::lineEnd + AdifWriter::lineEnd;
}

bool isWritten(const LogRowTexts &row)
{
    return !row.call.isEmpty() && !row.date.isEmpty() && !row.time.isEmpty() && !row.band.isEmpty()
        && !row.mode.isEmpty();
}

QString line(const LogRowTexts &row)
{
    // A one-digit hour ("9:05:00") keeps the time column eight wide.
    const QString time = row.time.size() == 7 ? u'0' + row.time : row.time;
    return TextFormat::fixedColumns({{row.call, 1}, {row.date, 15}, {time, 26}, {row.band, 36}, {row.mode, 40},
                                     {row.rstRx, 44}, {row.rstTx, 48}, {row.name, 53}, {row.qth, 69}});
}

} // namespace TextExport
