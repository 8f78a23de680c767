#include "core/LogWalks.h"

#include "platform/table/Table.h"
#include "platform/table/TableError.h"

namespace LogWalks {

void markFilter(Db::Table &log, const LogFilter::Criteria &criteria, const Tick &tick)
{
    Db::TableTransaction transaction(log);
    const auto field = [&log](const char *name) { return log.fieldByName(QString::fromLatin1(name)).asString(); };
    Db::Field &mark = log.fieldByName(QStringLiteral("Log1"));
    for (log.first(); !log.eof(); log.next()) {
        tick();
        const QString passes = LogFilter::passes(criteria, field) ? QStringLiteral("1") : QStringLiteral("0");
        // A mark that already holds the answer is not written again.
        if (mark.asString() == passes)
            continue;
        log.edit();
        mark.setAsString(passes);
        log.post();
    }
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
    Db::TableTransaction transaction(target);
    int appended = 0;
    for (source.first(); !source.eof(); source.next()) {
        tick();
        target.append();
        for (const char *name : copied) {
            const QString field = QString::fromLatin1(name);
            target.fieldByName(field).setAsString(source.fieldByName(field).asString());
        }
        target.post();
        ++appended;
    }
    transaction.commit();
    return appended;
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
