#pragma once
// Builds the installed prefix and award tables (Allpref, Prefix, Dxcc, UR, Waz)
// from the country files cty.dat and cty.csv.

#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace CtyImport {

// A country file that cannot be read or understood; the message names the
// file and, where there is one, the line.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message);
    QString message() const { return message_; }

private:
    QString message_;
};

struct Entity {
    QString name;
    QString primaryPrefix; // without the '*' of a WAE-only entity
    bool waeOnly = false;
    int cqZone = 0;
    int ituZone = 0;
    QString continent;
    double latitude = 0;
    double longitude = 0; // west positive, as cty.dat gives it
    double utcOffset = 0; // hours as cty.dat gives it: west positive
    int dxccNumber = 0;   // from cty.csv; 0 when cty.csv does not list the entity
    QString dxccPrefix;
};

// The prefixes of one entity that share a CQ and an ITU zone: one Prefix row.
struct PrefixGroup {
    int entity = 0; // index into Data::entities
    QString key;    // Prefix and MainPrefix of the row
    int cqZone = 0;
    int ituZone = 0;
    QString continent;
    double latitude = 0;
    double longitude = 0;
    QStringList prefixes; // plain prefixes of at most 5 characters, file order
};

struct Data {
    QList<Entity> entities;
    QList<PrefixGroup> groups; // keys are unique
    QStringList warnings;      // what was left out, and why
    QStringList unreachable;   // keys of Prefix rows that no Allpref row leads to
};

// Throws Error on text that is not a country file.
Data parse(const QString &ctyDat, const QString &ctyCsv);
// parse() of `dir`/cty.dat and `dir`/cty.csv.
Data readFiles(const QString &dir);

// Creates the five tables in the program directory layout under `dir`
// (Base/Allpref.db, Base/Prefix.db, Awrds/Dxcc.db, Awrds/UR.db, Awrds/Waz.db)
// and fills them. None of the files may exist. Throws Db::TableError.
void writeTables(const Data &data, const QString &dir);

struct InstallResult {
    QStringList created; // paths of the new table files
    QStringList warnings;
};

// Creates those of the five tables that are missing under `programDir` from
// the country files in `ctyDir`; existing files are never touched. The tables
// are built aside and moved in whole, so a failure leaves none half-written.
// Reads nothing when no table is missing. Throws Error or Db::TableError.
InstallResult installMissingTables(const QString &ctyDir, const QString &programDir);

} // namespace CtyImport
