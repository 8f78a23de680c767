#pragma once
// The rules of the prefix editors: checking an "Add Prefix" entry before
// anything is written, adding it without overwriting any existing row, the
// result line, and the three depths of deleting.

#include <QString>
#include <optional>

namespace Db {
class Table;
}

namespace PrefixEdits {

// The "Add Prefix" fields as they read: masked fields give their blanks as
// spaces and keep their literal comma.
struct Entry {
    QString dxccPrefix, prefix, addPrefix, country, continent, ituZone, cqZone, time, latitude, longitude;
};

// An entry checked and converted, ready to be written.
struct Checked {
    QString dxccPrefix, prefix, addPrefix, country, continent, ituZone, cqZone;
    double timeDiff = 0;
    double latitude = 0;
    double longitude = 0;
};

// Shown when a field is missing.
QString missingText();

// Nothing when a field is missing: an empty text, or a masked field with
// only its blanks (and comma). A number that does not convert raises an
// error naming the text; either decimal separator is taken.
std::optional<Checked> check(const Entry &entry);

struct Existing {
    bool addPrefix = false;
    bool prefix = false;
    bool dxcc = false;
};

// Adds what is missing of the entry: the Allpref row, the Prefix row and the
// Dxcc row; a row that exists is left as it is. `prefix` is linked to
// `allpref` and `dxcc` to `prefix`; the links are set aside on the way so each
// look-up sees the whole table. Leaves `allpref` and `prefix` open.
Existing add(const Checked &entry, Db::Table &allpref, Db::Table &prefix, Db::Table &dxcc);

// The result line: the last of "The <All Prefix> exists", "The <Prefix>
// exists", "The <DXCC Prefix> exists" that holds, or all three names in one
// line when all existed; empty when none did.
QString resultLine(const Checked &entry, const Existing &existing);

// The "Del" buttons, on the current Allpref row and the rows that follow it.
// An empty Allpref deletes nothing.
enum class Depth {
    AddPrefix, // the Allpref row
    Prefix,    // its Prefix row (when there is one), then the Allpref row
    Dxcc,      // its Dxcc row and Prefix row (when there are), then the Allpref row
};
QString deleteQuestion(Depth depth);
void remove(Depth depth, Db::Table &allpref, Db::Table &prefix, Db::Table &dxcc);

} // namespace PrefixEdits
