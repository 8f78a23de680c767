#include "core/PrefixResolver.h"

#include "platform/format/TextFormat.h"
#include "platform/table/Table.h"

std::optional<PrefixRow> resolvePrefix(Db::Table &allpref, Db::Table &prefix, const QString &callsign, int limit)
{
    // Longest first: the first hit is the longest matching leading part, so
    // shorter look-ups (and the detail moves each hit causes) are skipped.
    for (int k = int(std::min<qsizetype>(limit, callsign.size())); k >= 1; --k) {
        if (!allpref.locate(QStringLiteral("AddPrefix"), callsign.left(k)))
            continue;
        // The linked cursor followed to its first row; it has none when no
        // row belongs to this prefix (no count needed on every keystroke).
        if (!prefix.isActive() || prefix.currentRowId() == 0)
            return std::nullopt;
        return PrefixRow::fromTable(prefix);
    }
    return std::nullopt;
}

PrefixCache::PrefixCache(Db::Table &allpref, Db::Table &prefix, int limit)
    : allpref_(allpref), prefix_(prefix), limit_(limit)
{
    allpref.walkRows({QStringLiteral("AddPrefix"), QStringLiteral("MainPrefix")},
                     [this](qint64, const QStringList &texts) {
                         if (!added_.contains(texts[0]))
                             added_.insert(texts[0], texts[1]); // the row a look-up finds first
                     });
}

const std::optional<PrefixRow> &PrefixCache::resolve(const QString &callsign)
{
    for (int k = int(std::min<qsizetype>(limit_, callsign.size())); k >= 1; --k) {
        const QString part = callsign.left(k);
        const auto main = added_.constFind(part);
        if (main == added_.constEnd())
            continue;
        auto found = known_.constFind(part);
        if (found != known_.constEnd())
            return *found;
        // A part the look-up would store otherwise (a control character in
        // it) is looked up as it is, and decides nothing for others.
        if (TextFormat::blankControls(part) != part)
            return *known_.insert(part, resolvePrefix(allpref_, prefix_, part, limit_));
        auto shared = byMain_.constFind(*main);
        if (shared == byMain_.constEnd())
            shared = byMain_.insert(*main, resolvePrefix(allpref_, prefix_, part, limit_));
        return *known_.insert(part, *shared);
    }
    return none_;
}
