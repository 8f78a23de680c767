#include "core/MainClock.h"

#include "core/ConfigMasks.h"
#include "core/StationTime.h"
#include "platform/format/TextFormat.h"

#include <algorithm>
#include <utility>

namespace MainClock {

namespace {

QDateTime computerClock()
{
    return QDateTime::currentDateTime();
}

Now &current()
{
    static Now clock = computerClock;
    return clock;
}

// The reading's date and time as they stand, without a time zone, so that
// adding an offset or comparing never passes through a daylight-saving rule.
QDateTime wallClock(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime wallClock(const QDateTime &local)
{
    return wallClock(local.date(), local.time());
}

// An offset field with nothing typed in it (blanks or the mask's '_').
bool blank(QStringView text)
{
    for (QChar c : text)
        if (c != u' ' && c != u'_')
            return false;
    return true;
}

// Set times count to the second, as the pickers show them.
QTime wholeSecond(const QTime &time)
{
    return QTime(time.hour(), time.minute(), time.second());
}

} // namespace

QDateTime now()
{
    return current()();
}

Now setNow(Now clock)
{
    Now previous = current();
    current() = clock ? std::move(clock) : Now(computerClock);
    return previous;
}

std::optional<qint64> offsetSeconds(QStringView hoursText, QStringView minutesText)
{
    const std::optional<QString> hours = ConfigMasks::utcHoursText(hoursText);
    const std::optional<QString> minutes = ConfigMasks::utcMinutesText(minutesText);
    if (!hours || !minutes)
        return std::nullopt;
    const std::optional<qint64> h = TextFormat::parseInteger(*hours);
    const std::optional<qint64> m = TextFormat::parseInteger(*minutes);
    if (!h || !m)
        return std::nullopt;
    return utcOffsetSeconds(int(*h), int(*m));
}

std::optional<qint64> utcOffset(QStringView hoursText, QStringView minutesText, const QDateTime &local)
{
    if (blank(hoursText))
        return -qint64(local.offsetFromUtc());
    return offsetSeconds(hoursText, blank(minutesText) ? QStringView(u"00") : minutesText);
}

OffsetTexts offsetTexts(qint64 seconds)
{
    const qint64 minutes = (seconds < 0 ? -seconds : seconds) / 60;
    const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
    return {sign + QStringLiteral("%1").arg(minutes / 60, 2, 10, QLatin1Char('0')),
            QStringLiteral("%1").arg(minutes % 60, 2, 10, QLatin1Char('0'))};
}

OffsetTexts machineOffsetTexts(const QDateTime &local)
{
    return offsetTexts(-qint64(local.offsetFromUtc()));
}

qint64 OffsetMemory::update(std::optional<qint64> parsed)
{
    if (parsed)
        value_ = *parsed;
    return value_;
}

QDateTime shifted(const QDateTime &local, qint64 offsetSeconds)
{
    return shiftedClock(wallClock(local), offsetSeconds);
}

EntryStamp entryStamp(const QDateTime &local, std::optional<qint64> offset)
{
    const QDateTime shown = shifted(local, offset.value_or(0));
    return {TextFormat::dateText(shown.date()), TextFormat::timeText(shown.time())};
}

Span::Span(const QDateTime &from, const QDateTime &to, QList<Passed> passed)
    : from_(wallClock(from)), to_(wallClock(to)), passed_(std::move(passed))
{
}

bool Span::inSpan(const QDateTime &moment) const
{
    if (!(from_ < moment && moment <= to_))
        return false;
    for (const Passed &p : passed_)
        if (p.from < moment && moment <= p.to)
            return false;
    return true;
}

bool Span::reached(const QDate &date, const QTime &time) const
{
    return inSpan(wallClock(date, wholeSecond(time)));
}

bool Span::reachedDaily(const QTime &time) const
{
    // Each occurrence of that time of day in the span, latest first.
    for (QDateTime at = wallClock(to_.date(), wholeSecond(time)); at > from_; at = at.addDays(-1))
        if (inSpan(at))
            return true;
    return false;
}

void Reference::reset(const QDateTime &local)
{
    // What passed while the clock stood still has had its turn as well.
    if (previous_ && wallClock(*previous_) < wallClock(local))
        pass(*previous_, local);
    previous_ = local;
}

std::optional<Span> Reference::advance(const QDateTime &local)
{
    const std::optional<QDateTime> previous = std::exchange(previous_, local);
    if (!previous || wallClock(local) < wallClock(*previous))
        return std::nullopt;
    Span span(*previous, local, passed_);
    pass(*previous, local);
    return span;
}

void Reference::pass(const QDateTime &from, const QDateTime &to)
{
    Passed merged{wallClock(from), wallClock(to)};
    QList<Passed> kept;
    for (const Passed &p : std::as_const(passed_)) {
        if (p.to < merged.from || merged.to < p.from) {
            kept.append(p);
        } else {
            merged.from = std::min(merged.from, p.from);
            merged.to = std::max(merged.to, p.to);
        }
    }
    const auto at = std::lower_bound(kept.begin(), kept.end(), merged,
                                     [](const Passed &a, const Passed &b) { return a.from < b.from; });
    kept.insert(at, merged);
    // A stretch only splits off when the clock is set back; the earliest
    // ones are the least likely to come round again.
    constexpr qsizetype keptMost = 16;
    if (kept.size() > keptMost)
        kept.remove(0, kept.size() - keptMost);
    passed_ = std::move(kept);
}

} // namespace MainClock
