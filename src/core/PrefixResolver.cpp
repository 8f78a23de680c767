#include "core/PrefixResolver.h"

#include "platform/table/Table.h"

std::optional<PrefixRow> resolvePrefix(Db::Table &allpref, Db::Table &prefix, const QString &callsign, int limit)
{
    // Longest first: the first hit is the longest matching leading part, so
    // shorter look-ups (and the detail moves each hit causes) are skipped.
    for (int k = int(std::min<qsizetype>(limit, callsign.size())); k >= 1; --k) {
        if (!allpref.locate(QStringLiteral("AddPrefix"), callsign.left(k)))
            continue;
        if (!prefix.isActive() || prefix.isEmpty())
            return std::nullopt;
        return PrefixRow::fromTable(prefix);
    }
    return std::nullopt;
}

PrefixCache::PrefixCache(Db::Table &allpref, Db::Table &prefix, int limit)
    : allpref_(allpref), prefix_(prefix), limit_(limit)
{
    for (const QString &added : allpref.fieldTexts(QStringLiteral("AddPrefix")))
        added_.insert(added);
}

const std::optional<PrefixRow> &PrefixCache::resolve(const QString &callsign)
{
    for (int k = int(std::min<qsizetype>(limit_, callsign.size())); k >= 1; --k) {
        const QString part = callsign.left(k);
        if (!added_.contains(part))
            continue;
        auto found = known_.constFind(part);
        if (found == known_.constEnd())
            found = known_.insert(part, resolvePrefix(allpref_, prefix_, part, limit_));
        return *found;
    }
    return none_;
}
