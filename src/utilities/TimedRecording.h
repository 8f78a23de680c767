#pragma once
// Unattended recordings over the clock, without a window: three single
// recordings on a date and a repeating series on a time of day, driving the
// voice recorder through its Rec, Stop and Save.

#include "core/MainClock.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <array>
#include <optional>

namespace TimedRecording {

// A minute of recording; the pickers hold whole seconds.
inline constexpr int secondsPerMinute = 60;

// The voice recorder as the timer uses it.
class Recorder {
public:
    virtual ~Recorder() = default;
    // A recording is running (the operator's or the timer's).
    virtual bool recording() const = 0;
    // Closes the media player and clicks "Rec".
    virtual void start() = 0;
    // Clicks "Stop", then "Save".
    virtual void stopAndSave() = 0;
};

struct Single {
    bool armed = false;
    QDate date;
    QTime start;
    int minutes = 1;
};

// The series as set on the page (the count is taken only on close).
struct Series {
    bool armed = false;
    int minutes = 1;
    int interval = 60;
};

// The series' working state, set when the window closes.
struct SeriesRun {
    QTime next;   // the time of the next start
    int left = 0; // recordings still to start
};

struct Page {
    std::array<Single, 3> singles;
    Series series;
};

class Machine {
public:
    // One tick: the clock passed through `span`, ending at `now`. Stops come
    // before starts, so a recording can follow one ending in the same second.
    // Changes `run`, and disarms the series in `page` after its last stop.
    void tick(const MainClock::Span &span, const QDateTime &now, Page &page, SeriesRun &run, Recorder &recorder);

    // The series counts afresh from the settings in force at the close.
    void restartSeries() { seriesSlotEnd_.reset(); }

    // A recording the timer started is running.
    bool recording() const { return owned_.has_value(); }

private:
    struct Owned {
        QDateTime stopAt;
    };
    void stopDue(const QDateTime &now, Recorder &recorder);
    void seriesSlotDue(const QDateTime &now, Page &page, SeriesRun &run);
    // Starts unless the recorder is busy, whose recording is left alone.
    void start(const QDateTime &stopAt, Recorder &recorder);

    std::optional<Owned> owned_;
    // The end of the series' current slot, whether it recorded or was skipped.
    std::optional<QDateTime> seriesSlotEnd_;
};

} // namespace TimedRecording
