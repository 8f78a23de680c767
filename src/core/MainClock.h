#pragma once
// The main clock's decisions, free of windows: the entry date and time shown
// from one reading of the computer's clock, and whether a set moment was
// reached since the previous tick.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>
#include <QTime>
#include <functional>
#include <optional>

namespace MainClock {

// The computer's local clock; tests put another in place.
using Now = std::function<QDateTime()>;
QDateTime now();
// Puts `clock` in place (an empty one restores the computer's); returns the
// previous one.
Now setNow(Now clock);

// The offset the settings' hours and minutes texts give ("-03", "30"), or
// nothing when either is not a whole number of the fields' form.
std::optional<qint64> offsetSeconds(QStringView hoursText, QStringView minutesText);

// The offset that turns the reading `local` into UTC. Empty hours (a first
// run) follow this machine's zone at that reading, so a daylight-saving
// change needs nothing from the operator; hours without minutes are whole
// hours; otherwise as offsetSeconds.
std::optional<qint64> utcOffset(QStringView hoursText, QStringView minutesText, const QDateTime &local);

// The hours and minutes texts of an offset (the inverse of offsetSeconds):
// -19800 gives "-05" and "30". Whole minutes; an offset under an hour with
// minutes has no hours sign to carry and comes out east.
struct OffsetTexts {
    QString hours;
    QString minutes;
};
OffsetTexts offsetTexts(qint64 seconds);
// The offset that turns this machine's clock into UTC at the reading `local`.
OffsetTexts machineOffsetTexts(const QDateTime &local);

// Keeps the last offset that parsed, so a half-typed field neither moves
// the clock nor reports anything. Until one parses there is no offset.
class OffsetMemory {
public:
    qint64 update(std::optional<qint64> parsed);
    qint64 value() const { return value_; }

private:
    qint64 value_ = 0;
};

// A reading of the local clock moved by `offsetSeconds` as wall-clock time:
// the reading's date and time as they stand, never passing through a
// daylight-saving rule (the entry time and the other station's time).
QDateTime shifted(const QDateTime &local, qint64 offsetSeconds);

struct EntryStamp {
    QString date; // "dd.MM.yyyy"
    QString time; // "HH:mm:ss"
    bool operator==(const EntryStamp &) const = default;
};

// The entry date and time for one reading of the local clock: moved by
// `offsetSeconds` when UTC is enabled, else the reading itself. Wall-clock
// arithmetic, so the date turns exactly at UTC midnight.
EntryStamp entryStamp(const QDateTime &local, std::optional<qint64> offsetSeconds);

// A stretch of the local wall clock that ticks have passed over: (from, to].
struct Passed {
    QDateTime from;
    QDateTime to;
};

// The local wall clock between two ticks: (from, to]. Events compare with it
// to the millisecond, so one that fell into a skipped tick still fires, and
// only once; a moment in a stretch passed before the clock was set back has
// had its turn and is not reached again.
class Span {
public:
    Span(const QDateTime &from, const QDateTime &to, QList<Passed> passed = {});
    // Whether the moment `date` `time` lies in the span.
    bool reached(const QDate &date, const QTime &time) const;
    // Whether the time of day `time` occurred in the span, on any day.
    bool reachedDaily(const QTime &time) const;

private:
    bool inSpan(const QDateTime &moment) const;
    QDateTime from_;
    QDateTime to_;
    QList<Passed> passed_;
};

// The reference time of the running clock, one per timer that fires set
// moments. Every moment of the wall clock gets one turn: a clock going
// forward catches up on what it skipped, a clock that starts again counts
// from then, and a clock set back (a time correction, the end of summer
// time) does not fire again what it had passed.
class Reference {
public:
    // The clock starts (or starts again) at `local`: what passed while it
    // stood still does not fire.
    void reset(const QDateTime &local);
    // The span since the previous tick, which `local` then becomes; nothing
    // on the first tick or when the clock was set back.
    std::optional<Span> advance(const QDateTime &local);

private:
    void pass(const QDateTime &from, const QDateTime &to);
    std::optional<QDateTime> previous_;
    QList<Passed> passed_; // apart from each other, in wall-clock order
};

} // namespace MainClock
