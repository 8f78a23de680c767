#pragma once
// The ADIF import as one walk over a file: contacts not yet in the log are
// stored, resolved to their country and marked in the award tables.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>
#include <functional>

class AwardMarks;
class QIODevice;

namespace Db {
class Table;
}

namespace LogImport {

struct Tables {
    Db::Table &log;     // new rows are appended here
    Db::Table &lookup;  // the same log without a range: the duplicate test sees every row
    Db::Table &allpref; // prefix resolution
    Db::Table &prefix;  //   (linked to allpref)
    AwardMarks &marks;
    // Cursors on the three award files, one transaction each for the marking.
    Db::Table &dxcc;
    Db::Table &ur;
    Db::Table &waz;
};

struct Counts {
    int added = 0;
    int duplicates = 0;
    int rejected = 0; // records that could not be contacts, broken ones included
    // Rejections by the reason their box gives, in the order first met.
    QList<std::pair<QString, int>> reasons;
    int notesCut = 0; // notes longer than a memo holds, stored cut
};

// The summary the import ends with: the counts, then the rejections by
// reason and the notes cut, each only when there are any.
QString summary(const Counts &counts);

// Runs once per record read and once per contact marked; `stored` is the
// number of rows stored so far.
using Tick = std::function<void(int stored)>;

// Reads every record of `file`. The first rejected record with a message
// shows it; later ones are only counted (a file of thousands of bad records
// must not hold the operator in as many boxes), and the walk goes on. The log rows are stored in one transaction,
// then the stored contacts are marked in one transaction per award file. A
// table error ends the walk: the transaction it hit is rolled back whole and
// the error propagates (log rows committed before a marking error stay; the
// award tables can be rebuilt from the log).
// The file is read a piece at a time from where the device stands; a device
// that fails to read throws AdifReader::ReadError.
Counts importFile(QIODevice &file, const Tables &tables, const Tick &tick = {});
// The same for a file already in memory.
Counts importFile(const QByteArray &file, const Tables &tables, const Tick &tick = {});

} // namespace LogImport
