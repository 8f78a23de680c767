#include "core/LogWalks.h"

#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <cstring>
#include <utility>
#include <vector>

namespace LogWalks {

namespace {

constexpr int blockRows = 4096;

// The log fields a filter criterion reads, by name, and their positions.
class FieldColumns {
public:
    explicit FieldColumns(Db::Table &log)
    {
        for (const char *name : {"LogCall", "LogPref", "LogDate", "LogTime", "LogBand", "LogMode", "LogName",
                                 "LogQth", "LogRxRst", "LogTxRst", "LogTxQsl", "LogRxQsl"})
            columns_.push_back({name, log.fieldByName(QString::fromLatin1(name)).column()});
    }
    int operator()(const char *name) const
    {
        for (const auto &[known, column] : columns_)
            if (std::strcmp(known, name) == 0)
                return column;
        return -1;
    }

private:
    std::vector<std::pair<const char *, int>> columns_;
};

} // namespace

void markFilter(Db::Table &log, const LogFilter::Criteria &criteria, const Tick &tick)
{
    Db::TableTransaction transaction(log);
    log.first(); // a pending edit is posted first, as any move posts it
    const FieldColumns columns(log);
    const int mark = log.fieldByName(QStringLiteral("Log1")).column();
    const QString yes = QStringLiteral("1"), no = QStringLiteral("0");
    // Rows are read a block at a time; the marks are written once the reading
    // is done, so a mark that orders the log cannot move rows between blocks.
    std::vector<std::pair<qint64, QString>> marks;
    const int total = log.recordCount();
    for (int offset = 0; offset < total; offset += blockRows) {
        const std::vector<Db::RowTexts> rows = log.readRows(offset, blockRows);
        for (const Db::RowTexts &r : rows) {
            tick();
            const auto field = [&](const char *name) {
                const int c = columns(name);
                return c < 0 ? QString() : r.texts.at(c);
            };
            const QString &passes = LogFilter::passes(criteria, field) ? yes : no;
            // A mark that already holds the answer is not written again.
            if (r.texts.at(mark) != passes)
                marks.emplace_back(r.rowId, passes);
        }
        if (rows.empty())
            break;
    }
    log.writeTexts(QStringLiteral("Log1"), marks);
    log.last();
    transaction.commit();
}

int appendLog(Db::Table &source, Db::Table &target, const Tick &tick)
{
    if (source.filePath() == target.filePath())
        throw Db::TableError(QStringLiteral("A log cannot be added to itself: %1").arg(target.filePath()),
                             target.filePath());
    static const char *const copied[] = {"LogCall",  "LogPref",  "LogObl",   "LogDate",  "LogTime",
                                         "LogBand",  "LogMode",  "LogName",  "LogQth",   "LogRxRst",
                                         "LogTxRst", "LogTxQsl", "LogRxQsl", "LogNotepad", "LogOther",
                                         "Log1",     "Log2",     "Log3",     "Log4"};
    QStringList fields;
    for (const char *name : copied)
        fields << QString::fromLatin1(name);
    // One statement copies the rows, in one transaction on the target.
    return target.appendCopies(source, fields, tick);
}

void deleteShown(Db::Table &log, const Tick &tick)
{
    Db::TableTransaction transaction(log);
    log.first();
    while (!log.isEmpty()) {
        tick();
        log.deleteRecord();
    }
    transaction.commit();
    log.last();
}

} // namespace LogWalks
