#pragma once
// The Morse keyer's rules without a window: the code table, the timing, the
// element-by-element sender, the paddle and the macro tags. The sender talks
// to the transmitter through a key line and waits through a clock, so tests
// run it on a fake line and a fake clock and read back a timeline.

#include <QString>
#include <QStringList>
#include <chrono>

namespace Keyer {

inline constexpr int minSpeed = 30;
inline constexpr int maxSpeed = 400;

// Speed in characters per minute, kept within 30..400 (0 would divide by zero).
int clampSpeed(int speed);
// 6000 / speed ms, rounded to nearest with ties to even.
int dotLength(int speed);

// The elements of a character as '.' and '-', upper and lower case alike;
// empty for a character outside the table.
QString code(QChar c);

// What the transmitter's lines do.
enum class Line { Receive, KeyUp, KeyDown };

// Where the lines go. `set` returns false when the system refused the access.
class KeyLine {
public:
    virtual ~KeyLine() = default;
    virtual bool set(Line line) = 0;
};

// Blocking waits, measured from the previous deadline so a run of short
// elements does not drift.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void wait(int ms) = 0;
};

// The steady clock: each wait ends at the previous deadline plus `ms`, unless
// that is already past.
class SteadyClock : public Clock {
public:
    void wait(int ms) override;

private:
    std::chrono::steady_clock::time_point deadline_{};
};

// The send line and the type-ahead lines behind it.
class Buffer {
public:
    virtual ~Buffer() = default;
    virtual QString sendLine() const = 0;
    virtual void setSendLine(const QString &text) = 0;
    // Removes and returns the first type-ahead line ("" when none).
    virtual QString takeLine() = 0;
    virtual bool typeAheadEmpty() const = 0;
};

// Why a run of the sender ended.
enum class Stop {
    LetterGap, // key up; the letter-gap timer continues after `gapMs`
    Empty,     // nothing left to send
    Rx,        // "<RX>" reached: back to receive
    Refused    // the key line refused an access
};

struct RunResult {
    Stop stop = Stop::Empty;
    int gapMs = 0;
};

// Keys from the front of the send line until a letter gap, the end of the
// text or "<RX>"; `elementStep` says how far the front character is keyed.
RunResult send(Buffer &buffer, int &elementStep, int speed, KeyLine &line, Clock &clock);

// The paddle's status byte: '#' for the dot paddle (0x5F), '&' for the dash
// paddle (0x6F), a null character for anything else.
QChar paddleMark(int status);

// One paddle run over the mark text (`Edit1`): keys "#" and "&", drops
// anything else; returns false when the line refused an access.
bool sendPaddle(QString &marks, int &paddleStep, int speed, KeyLine &line, Clock &clock);

// Contact fields the macro tags take.
struct MacroFields {
    QString call, rstTx, rstRx, name, idTx, idRx;
};

struct Macro {
    QString text;
    bool clear = false; // "<CL>" was present
    bool transmit = false; // "<TX>" was present
};

Macro expandMacro(const QString &text, const MacroFields &fields);

} // namespace Keyer
