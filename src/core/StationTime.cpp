#include "core/StationTime.h"

#include <cmath>

qint64 utcOffsetSeconds(int hours, int minutes)
{
    const int sign = hours < 0 ? -1 : 1;
    return qint64(hours) * 3600 + qint64(sign) * minutes * 60;
}

QDateTime shiftedClock(const QDateTime &local, qint64 offsetSeconds)
{
    return local.addSecs(offsetSeconds);
}

QString otherStationTime(const QTime &utc, double timeDiffHours)
{
    if (timeDiffHours == 0)
        return QStringLiteral("UTC");
    // Whole seconds, so half- and quarter-hour zones come out exact.
    const qint64 shift = std::llround(timeDiffHours * 3600);
    const qint64 day = 24 * 3600;
    const qint64 seconds = ((utc.msecsSinceStartOfDay() / 1000 + shift) % day + day) % day;
    return QTime(0, 0).addSecs(int(seconds)).toString(QStringLiteral("HH:mm"));
}
