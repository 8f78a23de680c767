#pragma once
// Resolves a callsign to its prefix row: the longest leading part of the call
// (at most `limit` characters) that is an added prefix in "Allpref", then the
// "Prefix" row that prefix belongs to. No special handling of "/".

#include "core/PrefixRow.h"

#include <optional>

namespace Db {
class Table;
}

// `allpref` is a cursor on "Allpref"; `prefix` a cursor on "Prefix" linked to
// it (Prefix = MainPrefix). Returns nothing when no leading part matches: the
// previous callsign's row is never reused. Leaves both cursors on the rows found.
std::optional<PrefixRow> resolvePrefix(Db::Table &allpref, Db::Table &prefix, const QString &callsign, int limit);
