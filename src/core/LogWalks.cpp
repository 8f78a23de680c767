#include "core/LogWalks.h"

#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace LogWalks {

namespace {

// The log fields a filter criterion reads, in the order walkRows gives them.
constexpr const char *filterFields[] = {"LogCall", "LogPref", "LogDate",  "LogTime",  "LogBand",  "LogMode",
                                        "LogName", "LogQth",  "LogRxRst", "LogTxRst", "LogTxQsl", "LogRxQsl"};
constexpr int fieldCount = int(std::size(filterFields));

int positionOf(const char *name)
{
    for (int i = 0; i < fieldCount; ++i)
        if (std::strcmp(filterFields[i], name) == 0)
            return i;
    return -1;
}

} // namespace

void markFilter(Db::Table &log, const LogFilter::Criteria &criteria, const Tick &tick)
{
    Db::TableTransaction transaction(log);
    log.first(); // a pending edit is posted first, as any move posts it
    QStringList names;
    for (const char *name : filterFields)
        names << QString::fromLatin1(name);
    names << QStringLiteral("Log1"); // the mark, last
    const QString yes = QStringLiteral("1"), no = QStringLiteral("0");
    // The marks are written once the reading is done, so a mark that orders
    // the log cannot move rows under the walk. The order of reading does not
    // change any mark: the file's fastest order is taken.
    std::vector<std::pair<qint64, QString>> marks;
    log.walkRows(names, [&](qint64 rowId, const QStringList &texts) {
        tick();
        const auto field = [&texts](const char *name) {
            const int i = positionOf(name);
            return i < 0 ? QString() : texts.at(i);
        };
        const QString &passes = LogFilter::passes(criteria, field) ? yes : no;
        // A mark that already holds the answer is not written again.
        if (texts.at(fieldCount) != passes)
            marks.emplace_back(rowId, passes);
    }, Db::Table::Order::Any);
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
    // One statement copies the rows, in one transaction on the target. The
    // indexes on the call, the date and the country take the new rows in
    // random places: a large merge builds them again instead.
    static const QStringList fewValues{"Log1",     "LogBand",  "LogMode",  "LogQth",
                                       "LogName",  "LogRxQsl", "LogTxQsl", "LogOther"};
    return target.appendCopies(source, fields, tick, fewValues);
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
