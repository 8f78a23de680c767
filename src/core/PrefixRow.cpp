#include "core/PrefixRow.h"

#include "platform/table/Table.h"

PrefixRow PrefixRow::fromTable(Db::Table &table)
{
    auto text = [&table](const char *field) { return table.fieldByName(QString::fromLatin1(field)).asString(); };
    auto number = [&table](const char *field) { return table.fieldByName(QString::fromLatin1(field)).asFloat(); };
    PrefixRow row;
    row.prefix = text("Prefix");
    row.dxccPrefix = text("DXCCPrefix");
    row.country = text("Country");
    row.continent = text("Continent");
    row.timeDiff = number("TimeDiff");
    row.latitude = number("Latitude");
    row.longitude = number("Longitude");
    row.ituZone = text("ITUZone");
    row.cqZone = text("CQZone");
    row.mainPrefix = text("MainPrefix");
    return row;
}
