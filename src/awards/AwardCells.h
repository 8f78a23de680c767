#pragma once
// Which mark cells of an award row a contact's band and mode select, and how a
// cell's mark moves on: "" -> "wkd" -> "cfm", never back.

#include <QString>
#include <QStringList>
#include <optional>

namespace AwardCells {

enum class Table { Dxcc, UR, Waz };
enum class ModeClass { Cw, Ssb, Rtty, Other };

struct Cells {
    QString band; // e.g. "B14"
    QString mode; // e.g. "B14Ssb" (Waz: "B14SSB")
};

// Exact, case-sensitive: "CW", "SSB", "RTTY"; anything else is Other.
ModeClass modeClass(const QString &mode);
// The cells of a band key ("1.8" ... "50", "Satellite" or "Satell" as the
// log stores it); none for "144", "430", "1260" or any other text.
std::optional<Cells> cells(Table table, const QString &band, const QString &mode);
// The mark after one more contact.
QString upgrade(const QString &mark, bool confirmed);

} // namespace AwardCells
