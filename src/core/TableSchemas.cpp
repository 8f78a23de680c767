#include "core/TableSchemas.h"

namespace TableSchemas {

using Db::FieldType;
using Db::IndexKind;

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
