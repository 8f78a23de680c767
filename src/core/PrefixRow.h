#pragma once
// One row of the prefix table "Prefix": what a callsign resolves to.

#include <QString>

namespace Db {
class Table;
}

struct PrefixRow {
    QString prefix;
    QString dxccPrefix;
    QString country;
    QString continent;
    double timeDiff = 0;
    double latitude = 0;
    double longitude = 0;
    QString ituZone;
    QString cqZone;
    QString mainPrefix;

    // The current row of a cursor on "Prefix".
    static PrefixRow fromTable(Db::Table &table);
};
