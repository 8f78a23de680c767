#pragma once
// The running figures of a contest: the points total of the contest window
// and the sent number a contest begins with.

#include <QString>
#include <optional>

namespace Db {
class Table;
}

namespace ContestCount {

struct Total {
    QString sum;   // general number format ("4,5"); the sum reached so far on an error
    QString error; // the first points text that is not a number, as a message; "" when none
};

// Sums every row `log` shows, in its order, up to the first points text
// that is not a number. The cursor stays where it is. Empty points texts are skipped; either decimal separator counts.
Total recount(Db::Table &log);

// The sent number at Begin with "Add to" ticked: the latest contact's sent
// number plus the step ("009" + "1" -> "010"); nothing (the field keeps its
// text) when the latest number is empty, does not start with a digit, or
// either text is not a whole number.
std::optional<QString> sentAtBegin(const QString &latestSent, const QString &step);

} // namespace ContestCount
