#include "exchange/LogExport.h"

#include "core/SettingsFile.h"
#include "exchange/AdifWriter.h"
#include "exchange/TextExport.h"
#include "platform/table/Table.h"

#include <algorithm>
#include <array>

namespace LogExport {

namespace {

// The columns of the texts the exports read, in LogRowTexts order.
std::array<int, 12> columnsOf(Db::Table &log)
{
    static const char *const names[] = {"LogCall", "LogDate",  "LogTime", "LogBand",  "LogMode",  "LogRxRst",
                                        "LogTxRst", "LogName", "LogQth",  "LogRxQsl", "LogTxQsl", "LogNotepad"};
    std::array<int, 12> columns{};
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i] = log.fieldByName(QString::fromLatin1(names[i])).column();
    return columns;
}

// The rows from first to last in the cursor's order and range. They are read
// a batch at a time: a move per row costs more than writing the row out.
constexpr int batchRows = 4096;

template <typename Line>
void walk(Db::Table &log, const Tick &tick, Line line)
{
    const auto c = columnsOf(log);
    const int rows = log.recordCount();
    for (int at = 0; at < rows; at += batchRows) {
        for (const Db::RowTexts &r : log.readRows(at, std::min(batchRows, rows - at))) {
            if (tick)
                tick();
            const QStringList &t = r.texts;
            line(LogRowTexts{t[c[0]], t[c[1]], t[c[2]], t[c[3]], t[c[4]], t[c[5]], t[c[6]], t[c[7]], t[c[8]],
                             t[c[9]], t[c[10]], t[c[11]]});
        }
    }
    // Where a row-by-row walk ends: on the last row, at the end.
    log.last();
    log.next();
}

} // namespace

QByteArray adifFile(Db::Table &log, const Tick &tick)
{
    QByteArray out = AdifWriter::header();
    walk(log, tick, [&out](const LogRowTexts &row) {
        out += AdifWriter::recordLine(row);
        out += AdifWriter::lineEnd;
    });
    return out;
}

QByteArray textFile(Db::Table &log, const Tick &tick)
{
    QByteArray out = TextExport::header();
    walk(log, tick, [&out](const LogRowTexts &row) {
        if (!TextExport::isWritten(row))
            return;
        out += TextExport::line(row).toUtf8();
        out += AdifWriter::lineEnd;
    });
    return out;
}

QString exportAdif(Db::Table &log, const QString &name, const Tick &tick)
{
    const QString path = withExtension(name, QStringLiteral(".adi"));
    SettingsFile::writeFile(path, adifFile(log, tick));
    return path;
}

QString exportText(Db::Table &log, const QString &name, const Tick &tick)
{
    const QString path = withExtension(name, QStringLiteral(".txt"));
    SettingsFile::writeFile(path, textFile(log, tick));
    return path;
}

} // namespace LogExport
