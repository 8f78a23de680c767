#pragma once
// The keyer settings file "Cw_Conf.tnr": 36 positional lines, the arrows'
// ranges and the default macros. No window is needed here.

#include "station/KeyerEngine.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace KeyerSettings {

inline constexpr char fileName[] = "Cw_Conf.tnr";
inline constexpr int lineCount = 36;
inline constexpr int macroCount = 15;

// An arrow control: position range, step and whether it wraps at the ends.
struct Range {
    int min, max, step;
    bool wrap;
    int clamp(int position) const;
    // One click up (+1) or down (-1).
    int stepped(int position, int direction) const;
};

inline constexpr Range leadRange{0, 999, 2, false};
inline constexpr Range stopRange{1, 32000, 50, true};
inline constexpr Range speedRange{Keyer::minSpeed, Keyer::maxSpeed, 5, false};
inline constexpr int portCount = 7; // "None", "COM 1".."COM 4", "LPT 1", "LPT 2"

struct Settings {
    QStringList names; // macroCount each
    QStringList texts;
    int port = 0;
    int lead = 200;  // push-to-talk lead time, ms
    int stop = 1500; // stop delay, ms
    bool rxOnBufferFree = true;
    bool onKeyPress = true;
    int speed = 120;
};

// Who the default macros speak for: the station callsign, the operator's
// first name and town. The defaults left alone name the sample station.
struct Station {
    QString call = QStringLiteral("QA1ZZ");
    QString name;
    QString qth;
};

// The design values, the default macros among them, for `station`.
Settings defaults(const Station &station = {});

// The 36 lines, each ending in CR LF.
QByteArray compose(const Settings &settings);

struct Reading {
    Settings settings;
    QString problem; // a number line that did not convert; reading stopped there
};

// Reads `text` over `current`: missing text lines read empty; a number line
// that does not convert stops the reading, leaving the later values as they
// were. Numbers are kept within their ranges; a port index outside 0..6 is "None".
Reading parse(const QString &text, const Settings &current);

} // namespace KeyerSettings
