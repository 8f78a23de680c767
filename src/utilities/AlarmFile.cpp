#include "utilities/AlarmFile.h"

#include "platform/audio/WaveDevice.h"
#include "platform/format/TextFormat.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace AlarmFile {

Reading parse(const QString &text, const Alarms &alarms)
{
    Reading reading{alarms, {}};
    const auto report = [&](const QString &message) {
        if (reading.problem.isEmpty())
            reading.problem = message;
    };
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        for (int i = 0; i < 3; ++i) {
            Alarm &alarm = reading.alarms[i];
            const QString n = QString::number(i + 1);
            if (line.startsWith(QStringLiteral("AlDate") + n + u'=')) {
                const QString value = line.mid(8);
                if (const auto date = TextFormat::parseDate(value))
                    alarm.date = *date;
                else
                    report(QStringLiteral("'%1' is not a valid date").arg(value));
            } else if (line.startsWith(QStringLiteral("AlTime") + n + u'=')) {
                const QString value = line.mid(8);
                if (const auto time = TextFormat::parseTime(value))
                    alarm.time = *time;
                else
                    report(QStringLiteral("'%1' is not a valid time").arg(value));
            } else if (line.startsWith(QStringLiteral("Check") + n + u'=')) {
                const QString value = line.mid(7);
                if (value == QStringLiteral("True"))
                    alarm.armed = true;
                else if (value == QStringLiteral("False"))
                    alarm.armed = false;
            }
        }
    }
    return reading;
}

QByteArray compose(const Alarms &alarms)
{
    QString text = QStringLiteral("[Alarm]\r\n");
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        text += QStringLiteral("Check") + n + u'=' + (alarms[i].armed ? QStringLiteral("True") : QStringLiteral("False")) + QStringLiteral("\r\n");
        text += QStringLiteral("AlDate") + n + u'=' + TextFormat::dateText(alarms[i].date) + QStringLiteral("\r\n");
        text += QStringLiteral("AlTime") + n + u'=' + TextFormat::timeText(alarms[i].time) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void disarmPast(Alarms &alarms, const QDate &today)
{
    for (Alarm &alarm : alarms)
        if (alarm.date < today)
            alarm.armed = false;
}

QList<int> dueAlarms(const Alarms &alarms, const MainClock::Span &span)
{
    QList<int> due;
    for (int i = 0; i < 3; ++i)
        if (alarms[i].armed && alarms[i].date.isValid() && alarms[i].time.isValid()
            && span.reached(alarms[i].date, alarms[i].time))
            due << i;
    return due;
}

bool anyArmed(const Alarms &alarms)
{
    return std::any_of(alarms.begin(), alarms.end(), [](const Alarm &a) { return a.armed; });
}

QByteArray alarmWave()
{
    // Three short beeps of 880 Hz, 8 kHz 16-bit mono.
    constexpr int rate = 8000;
    constexpr int samples = rate * 3 / 2;
    QByteArray data(samples * 2, '\0');
    for (int n = 0; n < samples; ++n) {
        const bool on = (n % (rate / 2)) < rate / 4;
        const double v = on ? 12000.0 * std::sin(2.0 * M_PI * 880.0 * n / rate) : 0.0;
        qToLittleEndian<qint16>(static_cast<qint16>(v), data.data() + 2 * n);
    }
    return Audio::pcm16Wave(rate, 1, data);
}

} // namespace AlarmFile
