#pragma once
// The awards rebuild as one walk over a log: each contact resolved to its
// country (as the entry resolves it), marked in the award tables
// without the QSL copy, and its stored country corrected.

#include <functional>

class AwardMarks;

namespace Db {
class Table;
}

namespace AwardsRebuild {

struct Tables {
    // Walked from its first row in its own order and range; the caller passes
    // a cursor without a range to walk the whole log.
    Db::Table &log;
    Db::Table &allpref; // prefix resolution
    Db::Table &prefix;  //   (linked to allpref; opened when closed)
    AwardMarks &marks;
    // Cursors on the three award files, one transaction each.
    Db::Table &dxcc;
    Db::Table &ur;
    Db::Table &waz;
};

// Runs once per contact walked.
using Step = std::function<void()>;

// With `clearFirst` every mark is emptied before the walk. The log and the
// three award files each run in one transaction, committed after the walk: a
// table error (or one thrown by `step`) rolls all four back and propagates.
void rebuild(const Tables &tables, bool clearFirst, const Step &step = {});

} // namespace AwardsRebuild
