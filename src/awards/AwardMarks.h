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

    // One contact's band, mode and confirmation, as a row is marked with it.
    struct Contact {
        QString band;
        QString mode;
        bool confirmed = false;
    };
    // The award rows a contact resolved to `row` marks: the table and the
    // row's key ("UR" before "Dxcc" before "Waz"); a row of "Waz" is marked
    // only when it is there.
    static std::vector<std::pair<Which, QString>> rowsMarked(const PrefixRow &row);
    // Marks one award row with several contacts in one post, as marking them
    // one by one would (a missing "Dxcc" or "UR" row is added first).
    void markRow(Which which, const QString &key, const std::vector<Contact> &contacts, const Qsl *qsl = nullptr);

private:
    Db::Table &table(Which which);

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
    // Marks every kind collected: each award row once, with all its kinds,
    // rows in the order their first kinds came; `tick` runs after each row.
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
