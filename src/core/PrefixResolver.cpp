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
