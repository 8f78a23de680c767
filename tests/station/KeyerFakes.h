#pragma once
// A clock that only counts and a key line that writes down when it moved, so
// a keyer run reads back as a timeline: "D0 U50 G150" = key down at 0 ms, key
// up at 50 ms, then a letter gap of 150 ms handed to the timer.

#include "station/KeyerEngine.h"

#include <QStringList>

struct FakeClock : Keyer::Clock {
    int now = 0;
    void wait(int ms) override { now += ms; }
};

struct TimelineLine : Keyer::KeyLine {
    explicit TimelineLine(FakeClock &clock) : clock(clock) {}
    bool set(Keyer::Line line) override
    {
        static const char *names[] = {"R", "U", "D"};
        const QString entry = QString::fromLatin1(names[int(line)]) + QString::number(clock.now);
        if (events.isEmpty() || events.back() != entry)
            events << entry;
        return !refuse;
    }
    FakeClock &clock;
    QStringList events;
    bool refuse = false;
};
