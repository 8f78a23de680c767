#include "core/LogFilter.h"

#include "platform/format/TextFormat.h"

namespace LogFilter {

bool Criteria::any() const
{
    return call || dxccPrefix || dates || times || band || mode || name || qth || rstRx || rstTx || qslSent ||
           qslReceived;
}

bool callMatches(const QString &mask, const QString &call)
{
    if (!mask.contains(u'?'))
        return call == mask;
    // A position past the end of a text holds "no character": a trailing "?"
    // also takes a shorter callsign.
    for (int i = 0; i < 12; ++i) {
        const QChar m = i < mask.size() ? mask[i] : QChar();
        const QChar c = i < call.size() ? call[i] : QChar();
        if (m != u'?' && m != c)
            return false;
    }
    return true;
}

bool passes(const Criteria &c, const FieldText &field)
{
    const auto equal = [&](const std::optional<QString> &wanted, const char *name) {
        return !wanted || field(name) == *wanted;
    };
    const auto sameWords = [&](const std::optional<QString> &wanted, const char *name) {
        return !wanted || field(name).compare(*wanted, Qt::CaseInsensitive) == 0;
    };
    if (c.call && !callMatches(*c.call, field("LogCall")))
        return false;
    if (!equal(c.dxccPrefix, "LogPref") || !equal(c.band, "LogBand") || !equal(c.mode, "LogMode") ||
        !equal(c.rstRx, "LogRxRst") || !equal(c.rstTx, "LogTxRst") || !sameWords(c.name, "LogName") ||
        !sameWords(c.qth, "LogQth"))
        return false;
    if (c.dates) {
        const std::optional<QDate> date = TextFormat::parseDate(field("LogDate"));
        if (!date || !(c.dates->first < *date && *date < c.dates->second))
            return false;
    }
    if (c.times) {
        const QString time = field("LogTime");
        if (!(c.times->first < time && time < c.times->second))
            return false;
    }
    if (c.qslSent && field("LogTxQsl").isEmpty())
        return false;
    if (c.qslReceived && field("LogRxQsl").isEmpty())
        return false;
    return true;
}

} // namespace LogFilter
