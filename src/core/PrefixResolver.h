#pragma once
// Resolves a callsign to its prefix row: the longest leading part of the call
// (at most `limit` characters) that is an added prefix in "Allpref", then the
// "Prefix" row that prefix belongs to. No special handling of "/".

#include "core/PrefixRow.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

namespace Db {
class Table;
}

// Leading characters of a callsign looked up, the same for the entry, the
// spot list, the import and the awards rebuild: whole calls of up to five
// characters are added prefixes of their own ("4U1UN", "E51WL"), so a
// contact keeps the country its entry showed.
inline constexpr int resolvedCharacters = 5;

// `allpref` is a cursor on "Allpref"; `prefix` a cursor on "Prefix" linked to
// it (Prefix = MainPrefix). Returns nothing when no leading part matches: the
// previous callsign's row is never reused. Leaves both cursors on the rows found.
std::optional<PrefixRow> resolvePrefix(Db::Table &allpref, Db::Table &prefix, const QString &callsign, int limit);

// The same resolution for walks over many calls (the import, the awards
// rebuild): the added prefixes are read in one go, and each leading part
// that decides a call is resolved once (and each main prefix once: added
// prefixes of one main prefix share its row); a call's country is the one of
// its longest leading part that is an added prefix.
class PrefixCache {
public:
    PrefixCache(Db::Table &allpref, Db::Table &prefix, int limit);
    const std::optional<PrefixRow> &resolve(const QString &callsign);

private:
    Db::Table &allpref_;
    Db::Table &prefix_;
    int limit_;
    QHash<QString, QString> added_; // added prefix -> its main prefix
    QHash<QString, std::optional<PrefixRow>> known_;
    QHash<QString, std::optional<PrefixRow>> byMain_; // the row is the main prefix's
    const std::optional<PrefixRow> none_;
};
