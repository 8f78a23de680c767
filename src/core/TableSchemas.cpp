#include "core/TableSchemas.h"

#include "core/BandsAndModes.h"

namespace TableSchemas {

using Db::FieldType;
using Db::IndexKind;

namespace {

Db::FieldDef text(const char *name, int width)
{
    return {QString::fromLatin1(name), FieldType::Text, width};
}

Db::FieldDef typed(const char *name, FieldType type)
{
    return {QString::fromLatin1(name), type, 0};
}

Db::IndexDef primary(QStringList fields, bool unique = true)
{
    return {QString(), std::move(fields), IndexKind::Primary, unique, false};
}

Db::IndexDef lookup(const char *name, QStringList fields)
{
    return {QString::fromLatin1(name), std::move(fields), IndexKind::Lookup, false, false};
}

Db::TableSchema table(const char *name, QList<Db::FieldDef> fields, QList<Db::IndexDef> indexes)
{
    Db::TableSchema s;
    s.name = QString::fromLatin1(name);
    s.layoutVersion = 1;
    s.fields = std::move(fields);
    s.indexes = std::move(indexes);
    return s;
}

// Key field, the 55 mark cells, then the table's own extra fields.
Db::TableSchema awardTable(const char *name, Db::FieldDef key, bool capitalModes, QList<Db::FieldDef> extra)
{
    QList<Db::FieldDef> fields{key};
    for (const QString &cell : awardCells(capitalModes))
        fields.append({cell, FieldType::Text, 3});
    fields += extra;
    return table(name, fields, {primary({key.name})});
}

} // namespace

QStringList awardCells(bool capitalModes)
{
    const QStringList modes = capitalModes
                                  ? QStringList{QStringLiteral("CW"), QStringLiteral("SSB"), QStringLiteral("RTTY"),
                                                QStringLiteral("OTHER")}
                                  : QStringList{QStringLiteral("Cw"), QStringLiteral("Ssb"), QStringLiteral("Rtty"),
                                                QStringLiteral("Other")};
    QStringList cells;
    for (const Band &band : bands()) {
        if (band.awardCell.isEmpty())
            continue;
        cells << QString(band.awardCell);
        for (const QString &mode : modes)
            cells << QString(band.awardMode) + mode;
    }
    return cells;
}

Db::TableSchema allpref()
{
    return table("Allpref", {text("AddPrefix", 5), text("MainPrefix", 5), text("Comments", 25), text("Main", 1)},
                 {primary({QStringLiteral("AddPrefix")})});
}

Db::TableSchema prefix()
{
    return table("Prefix",
                 {text("Prefix", 5), text("DXCCPrefix", 5), text("Country", 40), text("Continent", 2),
                  typed("TimeDiff", FieldType::Float), typed("Latitude", FieldType::Float),
                  typed("Longitude", FieldType::Float), text("ITUZone", 5), text("CQZone", 5), text("MainPrefix", 5)},
                 {primary({QStringLiteral("Prefix")})});
}

Db::TableSchema dxcc()
{
    return awardTable("Dxcc", text("Prefix", 5), false, {text("QslRcvd", 10), text("QslSend", 10), text("Moon", 3)});
}

Db::TableSchema ur()
{
    return awardTable("UR", text("Prefix", 5), false, {text("Moon", 3), text("QslRcvd", 10), text("QslSend", 40)});
}

Db::TableSchema waz()
{
    return awardTable("Waz", typed("Zone", FieldType::SmallInt), true, {text("RESUM", 6)});
}

Db::TableSchema sound()
{
    // Recordings stay in the order they were stored; two in one second are
    // both kept, so the date-time key is not unique.
    return table("Sound", {typed("DateTim", FieldType::DateTime), text("Callsignal", 15), typed("Sound", FieldType::Blob)},
                 {primary({QStringLiteral("DateTim")}, false)});
}

Db::TableSchema rez()
{
    return table("Rez", {typed("Nom", FieldType::AutoInc), typed("Sound", FieldType::Blob)},
                 {primary({QStringLiteral("Nom")})});
}

Db::TableSchema pict()
{
    auto caseless = [](const char *name, const char *field) {
        return Db::IndexDef{QString::fromLatin1(name), {QString::fromLatin1(field)}, IndexKind::Secondary, false, true};
    };
    return table("Pict",
                 {typed("Date_Time", FieldType::DateTime), text("Call", 20), text("R1", 20), text("R2", 20),
                  text("R3", 20), text("R4", 20), typed("Fot1", FieldType::Blob), typed("Fot2", FieldType::Blob)},
                 {primary({QStringLiteral("Date_Time")}), caseless("ByR2", "R2"), caseless("ByR1", "R1"),
                  caseless("ByCall", "Call"), caseless("ByDate", "Date_Time")});
}

Db::TableSchema cbook()
{
    return table("CBook", {text("Call", 20), text("Name", 20), text("QTH", 25), text("Ind", 25)},
                 {lookup("LookupCall", {QStringLiteral("Call")})});
}

Db::TableSchema cbookQrz(const QString &name)
{
    Db::TableSchema s = table("", {text("Nom", 8), text("Call", 20), text("Name", 25), text("QTH", 30), text("Other", 20)},
                              {lookup("LookupCall", {QStringLiteral("Call")})});
    s.name = name;
    return s;
}

Db::TableSchema cs()
{
    return table("cs",
                 {text("CallSign", 6), typed("Cod", FieldType::AutoInc), text("Name", 36), text("Country", 2),
                  typed("PostIndex", FieldType::Integer), text("Address", 76), typed("AddrStamp", FieldType::Date),
                  text("PhoneCod", 6), typed("PhoneNum", FieldType::Integer), typed("QSL", FieldType::Memo),
                  {QStringLiteral("Other"), FieldType::Blob, 2}, typed("BirthDay", FieldType::Date),
                  typed("FirstLicYear", FieldType::SmallInt), text("QTH", 6), typed("Email", FieldType::Memo),
                  typed("PacketRadio", FieldType::Memo), typed("EHobby", FieldType::Memo),
                  typed("RHobby", FieldType::Memo), typed("Patronymic", FieldType::Memo), text("Oblast", 2)},
                 {{QStringLiteral("ByCallSign"), {QStringLiteral("CallSign")}, IndexKind::Secondary, false, false}});
}

Db::TableSchema log()
{
    Db::TableSchema s;
    s.name = QStringLiteral("Tarnel");
    s.layoutVersion = 1;
    s.fields = {
        {QStringLiteral("LogNom"), FieldType::AutoInc, 0},
        {QStringLiteral("LogCall"), FieldType::Text, 20},
        {QStringLiteral("LogPref"), FieldType::Text, 5},
        {QStringLiteral("LogObl"), FieldType::Text, 15},
        {QStringLiteral("LogDate"), FieldType::Date, 0},
        {QStringLiteral("LogTime"), FieldType::Time, 0},
        {QStringLiteral("LogBand"), FieldType::Text, 6},
        {QStringLiteral("LogMode"), FieldType::Text, 10},
        {QStringLiteral("LogName"), FieldType::Text, 20},
        {QStringLiteral("LogQth"), FieldType::Text, 25},
        {QStringLiteral("LogRxRst"), FieldType::Text, 10},
        {QStringLiteral("LogTxRst"), FieldType::Text, 10},
        {QStringLiteral("LogTxQsl"), FieldType::Text, 12},
        {QStringLiteral("LogRxQsl"), FieldType::Text, 12},
        {QStringLiteral("LogNotepad"), FieldType::Memo, 0},
        {QStringLiteral("LogOther"), FieldType::Text, 20},
        {QStringLiteral("Log1"), FieldType::Text, 10},
        {QStringLiteral("Log2"), FieldType::Text, 10},
        {QStringLiteral("Log3"), FieldType::Text, 10},
        {QStringLiteral("Log4"), FieldType::Text, 10},
    };
    auto index = [](const char *name, QStringList fields) {
        return Db::IndexDef{QString::fromLatin1(name), std::move(fields), IndexKind::Secondary, false, false};
    };
    const QStringList callDateTime{QStringLiteral("LogCall"), QStringLiteral("LogDate"), QStringLiteral("LogTime")};
    s.indexes = {
        {QString(), {QStringLiteral("LogNom")}, IndexKind::Primary, true, false},
        index("ByDatTim", {QStringLiteral("LogDate"), QStringLiteral("LogTime")}),
        index("ByCall", callDateTime),
        index("By1", {QStringLiteral("Log1")}),
        index("ByCDT", callDateTime),
        index("ByBand", {QStringLiteral("LogBand")}),
        index("ByMode", {QStringLiteral("LogMode")}),
        index("ByQth", {QStringLiteral("LogQth")}),
        index("ByName", {QStringLiteral("LogName")}),
        index("ByRxQSL", {QStringLiteral("LogRxQsl")}),
        index("ByTxQSL", {QStringLiteral("LogTxQsl")}),
        index("ByOther", {QStringLiteral("LogOther")}),
        // Every keystroke in the callsign field looks the country up; with date
        // and time behind it the look-up in date order is a single seek.
        {QStringLiteral("LookupObl"), {QStringLiteral("LogObl"), QStringLiteral("LogDate"), QStringLiteral("LogTime")},
         IndexKind::Lookup, false, false},
    };
    return s;
}

} // namespace TableSchemas
