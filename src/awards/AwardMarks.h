#pragma once
// Marks contacts in the award tables "Dxcc", "UR" and "Waz", and clears them.
// Works through cursors of its own, so it never depends on where the data
// module's linked cursors stand. The award tables are derived from the log:
// a caller commits the log row first and marks right after.

#include "awards/AwardCells.h"
#include "core/PrefixRow.h"
#include "platform/table/Table.h"

#include <QHash>
#include <functional>
#include <optional>
#include <vector>

namespace Db {
class Database;
}

class AwardMarks {
public:
    // The QSL texts a save copies into the rows it marks.
    struct Qsl {
        QString received;
        QString sent;
    };
    enum class Which { Dxcc, UR, Waz };

    explicit AwardMarks(Db::Database *awards);

    // Marks one contact resolved to `row`. A contact that resolved to nothing,
    // or whose DXCC prefix is empty, marks nothing; neither does a zone that
    // is not a number or has no row. Each row is posted whole or not at all.
    void mark(const std::optional<PrefixRow> &row, const QString &band, const QString &mode, bool confirmed,
              const Qsl *qsl = nullptr);

    // Empties every row's marks and extra fields in one walk; keys, rows and
    // the region names of "UR" stay.
    void clear(Which which);
    void clearAll(); // "UR", then "Dxcc", then "Waz"

    // Regions of the Ukraine/Russia award are marked for these DXCC prefixes.
    static bool isRegional(const QString &dxccPrefix);

private:
    Db::Table &table(Which which);
    void markRow(Which which, const QString &key, const QString &band, const QString &mode, bool confirmed,
                 const Qsl *qsl);

    Db::Table dxcc_;
    Db::Table ur_;
    Db::Table waz_;
};

// Contacts of a long walk (an import, a rebuild) to be marked once the walk
// is over. Marks only move up ("" -> "wkd" -> "cfm") and an award row is
// added once, so contacts alike in everything the marking reads are marked
// once, confirmed when any of them is: a log of years holds few such kinds.
class MarkBatch {
public:
    void add(const std::optional<PrefixRow> &row, const QString &band, const QString &mode, bool confirmed);
    // Marks every kind collected, calling `tick` after each.
    void markAll(AwardMarks &marks, const std::function<void()> &tick = {}) const;
    int size() const { return int(kinds_.size()); }

private:
    struct Kind {
        PrefixRow row;
        QString band;
        QString mode;
        bool confirmed;
    };
    QHash<QString, size_t> seen_; // kinds_ position by what the marking reads
    std::vector<Kind> kinds_;
};
