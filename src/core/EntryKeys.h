#pragma once
// The keyboard ring of the entry fields: Enter saves from any of them, Down
// and Up move between them in a fixed order that skips locked fields.

#include <optional>

namespace EntryKeys {

enum class Field { Call, RstTx, RstRx, Name, Qth, ContestNumber };
enum class Key { Enter, Down, Up };

// Which fields take the focus (the settings lock fixed ones; a contest hides
// the name and QTH).
struct Enabled {
    bool rstTx = true;
    bool rstRx = true;
    bool name = true;
    bool qth = true;
};

struct Action {
    bool save = false;
    std::optional<Field> focus;
};

// What `key` does in `from`; nothing for the contest number field.
Action action(Field from, Key key, bool contest, const Enabled &enabled);

} // namespace EntryKeys

namespace Stopwatch {

// The three two-digit labels of the stopwatch; hours have no limit.
struct Time {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
Time tick(Time time);

} // namespace Stopwatch
