#pragma once
// The award reference a contact carries in the log field LogOther: a kind
// letter ("i" IOTA, "w" WAS, "a"/"b" the two user-named awards), the reference,
// a lower-case "o" and the extra information.

#include <QString>

namespace AwardReference {

// Substring from the 1-based `start` with at most `count` characters. A start
// below 1 begins at the first character; a count below 1 or a start past the
// end gives "". Never reads out of range, whatever the text.
QString copy(const QString &text, int start, int count);

// What the four reference windows hold.
struct Fields {
    QString iotaLetters, iotaNumber, iotaIsland; // FIota Edit1..Edit3
    QString wasState, wasInfo;                   // FWas Edit1, Edit2
    QString mainA, infoA;                        // FDipA Edit1, Edit2
    QString mainB, infoB;                        // FDipB Edit1, Edit2
};

// The text to store: the last filled window in the order award 2, award 1,
// WAS, IOTA wins; "" when no window's first field is filled.
QString encode(const Fields &fields);

enum class Kind { None, Iota, Was, AwardA, AwardB };

struct Decoded {
    Kind kind = Kind::None;
    QString field1, field2, field3;
};

// The kind from the first character and the parts between the landmarks
// (the first "-" and the first "o").
Decoded decode(const QString &text);

} // namespace AwardReference
