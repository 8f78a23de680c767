#pragma once
// Keys of a Cyrillic keyboard layout typed into a callsign field become the
// Latin letters on the same keys. The call filter uses the same table.

#include <QChar>
#include <QString>

// The Latin capital (or "/") for a Cyrillic letter of the table, upper or
// lower case; any other character unchanged.
QChar latinKey(QChar typed);
// The callsign field's own step after the table: ".", ",", "\", "<" and ">"
// become "/".
QChar callsignKey(QChar typed);
QString callsignKeys(const QString &typed);
