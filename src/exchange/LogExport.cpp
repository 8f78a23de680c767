#include "exchange/LogExport.h"

#include "core/SettingsFile.h"
#include "exchange/AdifWriter.h"
#include "exchange/TextExport.h"
#include "platform/table/Table.h"


namespace LogExport {

namespace {

// The fields the exports read, in LogRowTexts order.
QStringList exportedFields()
{
    static const char *const names[] = {"LogCall", "LogDate",  "LogTime", "LogBand",  "LogMode",  "LogRxRst",
                                        "LogTxRst", "LogName", "LogQth",  "LogRxQsl", "LogTxQsl", "LogNotepad"};
    QStringList fields;
    for (const char *name : names)
        fields << QString::fromLatin1(name);
    return fields;
}

// Bytes gathered before they go to the file: few writes, little memory.
constexpr qsizetype chunkBytes = 1 << 20;

// Writes the file at `path` from its header and one line per row, from first
// to last in the cursor's order and range, each row read once. The lines are
// handed on a chunk at a time, so the file is never held whole.
template <typename Line>
void writeWalk(Db::Table &log, const QString &path, const QByteArray &header, const Tick &tick, Line line)
{
    SettingsFile::writeFile(path, [&](const SettingsFile::Sink &sink) {
        QByteArray out = header;
        out.reserve(chunkBytes + 4096);
        log.walkRows(exportedFields(), [&](qint64, const QStringList &t) {
            if (tick)
                tick();
            line(out, LogRowTexts{t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11]});
            if (out.size() >= chunkBytes) {
                sink(out);
                out.resize(0);
            }
        });
        sink(out);
    });
    // Where a row-by-row walk ends: on the last row, at the end.
    log.last();
    log.next();
}

} // namespace

QString exportAdif(Db::Table &log, const QString &name, const Tick &tick)
{
    const QString path = withExtension(name, QStringLiteral(".adi"));
    writeWalk(log, path, AdifWriter::header(), tick, [](QByteArray &out, const LogRowTexts &row) {
        out += AdifWriter::recordLine(row);
        out += AdifWriter::lineEnd;
    });
    return path;
}

QString exportText(Db::Table &log, const QString &name, const Tick &tick)
{
    const QString path = withExtension(name, QStringLiteral(".txt"));
    writeWalk(log, path, TextExport::header(), tick, [](QByteArray &out, const LogRowTexts &row) {
        if (!TextExport::isWritten(row))
            return;
        out += TextExport::line(row).toUtf8();
        out += AdifWriter::lineEnd;
    });
    return path;
}

} // namespace LogExport
