#pragma once
// UTC from the computer's clock and the configured offset, and the other
// station's local time. The main clock and the callsign entry share these.

#include <QDateTime>
#include <QString>

// The configured offset: hours as a signed number and minutes that take the
// hours' sign ("-03" with "30" is -3.5 hours).
qint64 utcOffsetSeconds(int hours, int minutes);

// The computer's local clock moved by the offset.
QDateTime shiftedClock(const QDateTime &local, qint64 offsetSeconds);

// "HH:mm" of UTC plus `timeDiffHours` (east positive), or "UTC" when the
// difference is exactly 0.
QString otherStationTime(const QTime &utc, double timeDiffHours);
