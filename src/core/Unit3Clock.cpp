// The main window's clock: the entry date and time, the contest's set start
// and end, and the scheduled exit.

#include "core/Unit3.h"

#include "contest/UContest.h"
#include "core/FVihod.h"
#include "core/MainClock.h"
#include "core/UConf.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QMetaObject>
#include <QScopeGuard>

void TForm3::wireClock()
{
    // "Real" runs the clock; unticked, the entry date and time stand still.
    Ui::connectGuarded(CheckBoxTime, &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked)
            Timer1->start();
        else
            Timer1->stop();
    });
    // A clock that starts again counts from then, so nothing that passed
    // while it stood still (edit mode, the settings) fires late.
    clockStarts_ = Timer1->bindableActive().addNotifier([this] {
        if (Timer1->isActive())
            clockReference_.reset(MainClock::now());
    });
    clockReference_.reset(MainClock::now());
}

void TForm3::startClock()
{
    if (CheckBoxTime->isChecked())
        Timer1->start();
}

void TForm3::showEntryTime(const QDateTime &local)
{
    std::optional<qint64> offset;
    if (Config->CheckBoxTim->isChecked())
        offset = clockOffset_.update(
            MainClock::utcOffset(Config->MaskEditT->text(), Config->MaskEdit2T->text(), local));
    const MainClock::EntryStamp stamp = MainClock::entryStamp(local, offset);
    MaskEditDate->setText(stamp.date);
    MaskEditTime->setText(stamp.time);
}

void TForm3::Timer1Timer()
{
    // One reading serves the whole tick, so date and time always agree.
    const QDateTime local = MainClock::now();
    showEntryTime(local);

    // Ticks while a question is open only keep the entry current; what they
    // pass is the next tick's after the answer.
    if (clockFiring_)
        return;
    const std::optional<MainClock::Span> span = clockReference_.advance(local);
    if (!span)
        return;
    if (!contestQuestionDue(*span)) {
        fireMoments(*span);
        return;
    }
    // The question is asked once this tick has returned: a timer does not
    // tick again inside its own handler, and the entry must stay current
    // while the question is open.
    clockFiring_ = true;
    QMetaObject::invokeMethod(
        this, [this, span = *span] { Ui::runGuarded([&] { fireMoments(span); }); }, Qt::QueuedConnection);
}

bool TForm3::contestQuestionDue(const MainClock::Span &span) const
{
    return ContConf->CheckBox3->isChecked()
           && (span.reached(ContConf->DatePicker1->date(), ContConf->TimePicker1->time())
               || span.reached(ContConf->DatePicker2->date(), ContConf->TimePicker2->time()));
}

void TForm3::fireMoments(const MainClock::Span &span)
{
    clockFiring_ = true;
    const auto done = qScopeGuard([this] { clockFiring_ = false; });
    const auto yes = [](const QString &question) { return Ui::askYesNoCancel(question) == Ui::Answer::Yes; };
    // The contest's set moments are the computer's local time, not UTC.
    if (ContConf->CheckBox3->isChecked() && span.reached(ContConf->DatePicker1->date(), ContConf->TimePicker1->time())
        && yes(QStringLiteral("Begin Contest ?")))
        ContStart->click();
    if (ContConf->CheckBox3->isChecked() && span.reached(ContConf->DatePicker2->date(), ContConf->TimePicker2->time())
        && yes(QStringLiteral("STOP Contest ?"))) {
        ContConf->CheckBox3->setChecked(false);
        ContStop->click();
    }
    // The exit compares the time of day only, so it comes every day.
    if (FVihod->CheckBox1->isChecked() && span.reachedDaily(FVihod->DateTimePicker1->time())) {
        if (FVihod->radioGroup1Index() == 0)
            closeWindow();
        else
            Shell::requestShutdown();
    }
}
