#pragma once
// The alarms' rules without a window: the file "Snd.ini" read by key prefix
// and written as ten lines, disarming past alarms, which alarms are due, and
// the installed alarm sound.

#include "core/MainClock.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <array>

namespace AlarmFile {

inline constexpr char fileName[] = "Snd.ini";
// Under the program directory.
inline constexpr char soundPath[] = "Sound/Alarm.wav";

struct Alarm {
    QDate date;
    QTime time;
    bool armed = false;
    bool operator==(const Alarm &) const = default;
};
using Alarms = std::array<Alarm, 3>;

struct Reading {
    Alarms alarms;
    QString problem; // the first value that could not be converted, as a message
};

// Reads every line over `alarms`: "AlDate<i>=", "AlTime<i>=" and
// "Check<i>=" ("True"/"False"; anything else leaves it) in any order, later
// lines winning. A bad value leaves its field and reading goes on.
Reading parse(const QString &text, const Alarms &alarms);

// "[Alarm]" and the nine keys, UTF-8, each line ended by CR LF.
QByteArray compose(const Alarms &alarms);

// An alarm dated before `today` can never ring: disarmed.
void disarmPast(Alarms &alarms, const QDate &today);

// The armed alarms (0-based, in order) whose moment lies in `span`.
QList<int> dueAlarms(const Alarms &alarms, const MainClock::Span &span);

bool anyArmed(const Alarms &alarms);

// A short valid RIFF WAV tone, for installing as the alarm sound.
QByteArray alarmWave();

} // namespace AlarmFile
