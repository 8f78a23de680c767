#include "core/MainClock.h"

#include "core/ConfigMasks.h"
#include "core/StationTime.h"
#include "platform/format/TextFormat.h"

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

OffsetTexts offsetTexts(qint64 seconds)
{
    const qint64 minutes = (seconds < 0 ? -seconds : seconds) / 60;
    const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
    return {sign + QStringLiteral("%1").arg(minutes / 60, 2, 10, QLatin1Char('0')),
            QStringLiteral("%1").arg(minutes % 60, 2, 10, QLatin1Char('0'))};
}

OffsetTexts machineOffsetTexts()
{
    return offsetTexts(-qint64(QDateTime::currentDateTime().offsetFromUtc()));
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

Span::Span(const QDateTime &from, const QDateTime &to) : from_(wallClock(from)), to_(wallClock(to)) {}

bool Span::reached(const QDate &date, const QTime &time) const
{
    const QDateTime moment = wallClock(date, wholeSecond(time));
    return from_ < moment && moment <= to_;
}

bool Span::reachedDaily(const QTime &time) const
{
    // The latest occurrence of that time of day up to the span's end.
    QDateTime latest = wallClock(to_.date(), wholeSecond(time));
    if (latest > to_)
        latest = latest.addDays(-1);
    return from_ < latest;
}

void Reference::reset(const QDateTime &local)
{
    previous_ = local;
}

std::optional<Span> Reference::advance(const QDateTime &local)
{
    const std::optional<QDateTime> previous = std::exchange(previous_, local);
    if (!previous || wallClock(local) < wallClock(*previous))
        return std::nullopt;
    return Span(*previous, local);
}

} // namespace MainClock
