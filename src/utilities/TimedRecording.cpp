#include "utilities/TimedRecording.h"

namespace TimedRecording {

namespace {

// The latest moment at or before `now` whose time of day is `time`.
QDateTime latestAt(const QTime &time, const QDateTime &now)
{
    QDateTime moment(now.date(), QTime(time.hour(), time.minute(), time.second()), now.timeSpec());
    if (moment > now)
        moment = moment.addDays(-1);
    return moment;
}

} // namespace

void Machine::tick(const MainClock::Span &span, const QDateTime &now, Page &page, SeriesRun &run, Recorder &recorder)
{
    stopDue(now, recorder);
    seriesSlotDue(now, page, run);
    for (const Single &single : page.singles) {
        if (!single.armed || !single.date.isValid() || !single.start.isValid())
            continue;
        const QTime start(single.start.hour(), single.start.minute(), single.start.second());
        if (span.reached(single.date, start))
            this->start(QDateTime(single.date, start, now.timeSpec()).addSecs(single.minutes * secondsPerMinute),
                        recorder);
    }
    if (page.series.armed && run.left > 0 && !seriesSlotEnd_ && run.next.isValid() && span.reachedDaily(run.next)) {
        // A start skipped for a busy recorder still counts.
        --run.left;
        seriesSlotEnd_ = latestAt(run.next, now).addSecs(page.series.minutes * secondsPerMinute);
        start(*seriesSlotEnd_, recorder);
    }
}

void Machine::stopDue(const QDateTime &now, Recorder &recorder)
{
    // Its own moment, not the pickers': a recording crossing midnight or
    // outliving its check box is stopped and stored all the same.
    if (owned_ && owned_->stopAt <= now) {
        owned_.reset();
        recorder.stopAndSave();
    }
}

void Machine::seriesSlotDue(const QDateTime &now, Page &page, SeriesRun &run)
{
    if (!seriesSlotEnd_ || *seriesSlotEnd_ > now)
        return;
    seriesSlotEnd_.reset();
    run.next = run.next.addSecs(page.series.interval * secondsPerMinute);
    if (run.left == 0)
        page.series.armed = false;
}

void Machine::start(const QDateTime &stopAt, Recorder &recorder)
{
    if (owned_ || recorder.recording())
        return;
    recorder.start();
    owned_ = Owned{stopAt};
}

} // namespace TimedRecording
