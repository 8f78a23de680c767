#include "core/EntryKeys.h"

namespace EntryKeys {

Action action(Field from, Key key, bool contest, const Enabled &enabled)
{
    if (from == Field::ContestNumber)
        return {};
    if (key == Key::Enter)
        return {true, std::nullopt};
    const auto when = [](bool on, Field field) { return on ? std::optional<Field>(field) : std::nullopt; };
    const bool down = key == Key::Down;
    switch (from) {
    case Field::Call:
        return {false, down ? when(enabled.rstTx, Field::RstTx) : when(enabled.qth, Field::Qth)};
    case Field::RstTx:
        return {false, down ? when(enabled.rstRx, Field::RstRx) : std::optional<Field>(Field::Call)};
    case Field::RstRx:
        if (down)
            return {false, contest ? std::optional<Field>(Field::ContestNumber) : when(enabled.name, Field::Name)};
        if (contest)
            return {false, enabled.rstTx ? Field::RstTx : Field::Call};
        return {false, when(enabled.rstTx, Field::RstTx)};
    case Field::Name:
        return {false, down ? when(enabled.qth, Field::Qth) : when(enabled.rstRx, Field::RstRx)};
    case Field::Qth:
        return {false, down ? std::optional<Field>(Field::Call) : when(enabled.name, Field::Name)};
    case Field::ContestNumber:
        break;
    }
    return {};
}

} // namespace EntryKeys

namespace Stopwatch {

Time tick(Time time)
{
    if (++time.seconds == 60) {
        time.seconds = 0;
        if (++time.minutes == 60) {
            time.minutes = 0;
            ++time.hours;
        }
    }
    return time;
}

} // namespace Stopwatch
