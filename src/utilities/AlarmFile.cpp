#include "utilities/AlarmFile.h"

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
    QByteArray wave;
    const auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wave.append(b, 4);
    };
    const auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wave.append(b, 2);
    };
    wave += "RIFF";
    u32(36 + data.size());
    wave += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wave += "data";
    u32(data.size());
    wave += data;
    return wave;
}

} // namespace AlarmFile
