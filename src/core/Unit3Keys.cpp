// The main window worked from the keyboard: Enter saves, Up and Down move in
// the ring of entry fields, names and QTHs start with a capital, a double
// click on a locked field's label unlocks it; and the contact stopwatch.

#include "core/Unit3.h"

#include "core/EntryKeys.h"
#include "platform/ui/Guard.h"

#include <QKeyEvent>

namespace {

std::optional<EntryKeys::Key> ringKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return EntryKeys::Key::Enter;
    case Qt::Key_Down: return EntryKeys::Key::Down;
    case Qt::Key_Up: return EntryKeys::Key::Up;
    default: return std::nullopt;
    }
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

void TForm3::connectKeysAndStopwatch()
{
    const std::pair<Ui::MaskEdit *, EntryKeys::Field> ring[] = {
        {MaskEditCall, EntryKeys::Field::Call}, {MaskEditRstTx, EntryKeys::Field::RstTx},
        {MaskEditRstRx, EntryKeys::Field::RstRx}, {MaskEditName, EntryKeys::Field::Name},
        {MaskEditQth, EntryKeys::Field::Qth},
    };
    for (const auto &[edit, field] : ring) {
        edit->installEventFilter(new Ui::GuardedEventFilter(
            [this, field = field](QObject *, QEvent *event) {
                if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
                    return false;
                return entryKey(field, static_cast<QKeyEvent *>(event));
            },
            this));
    }
    const std::pair<QLabel *, QWidget *> unlocks[] = {
        {Label5, MaskEditName}, {Label6, MaskEditQth}, {Label13, MemoNot}, {Label3, MaskEditRstTx}, {Label4, MaskEditRstRx},
    };
    for (const auto &[label, field] : unlocks) {
        label->installEventFilter(new Ui::GuardedEventFilter(
            [label = label, field = field](QObject *, QEvent *event) {
                if (event->type() != QEvent::MouseButtonDblClick)
                    return false;
                field->setEnabled(true);
                label->setCursor(Qt::ArrowCursor);
                return true;
            },
            this));
    }
    Ui::connectGuarded(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
    const std::pair<Ui::MenuItem *, void (TForm3::*)()> items[] = {
        {TimStart, &TForm3::TimStartClick},  {TimStop, &TForm3::TimStopClick}, {TimStopClear, &TForm3::TimStopClearClick},
        {TimTotal, &TForm3::TimTotalClick}, {TimQSO, &TForm3::TimQSOClick},
    };
    for (const auto &[item, handler] : items)
        item->setHandler([this, handler = handler] { (this->*handler)(); });
}

// Enter in the callsign field saves as the key goes down; everything else
// acts as it comes up, and only in the field that saw it go down (the Enter
// that closes a message box must not save again).
bool TForm3::entryKey(EntryKeys::Field field, QKeyEvent *event)
{
    const bool down = event->type() == QEvent::KeyPress;
    if (down && (field == EntryKeys::Field::Name || field == EntryKeys::Field::Qth))
        capitalizeFirstLetter(field == EntryKeys::Field::Name ? MaskEditName : MaskEditQth);
    const std::optional<EntryKeys::Key> key = ringKey(event->key());
    if (!key || event->isAutoRepeat())
        return false;
    const bool callEnter = field == EntryKeys::Field::Call && *key == EntryKeys::Key::Enter;
    if (down) {
        pressedKey_ = {field, event->key()};
        if (!callEnter)
            return false;
    } else if (std::exchange(pressedKey_, std::nullopt) != std::make_optional(std::pair{field, event->key()}) ||
               callEnter) {
        return false;
    }
    const EntryKeys::Action action =
        EntryKeys::action(field, *key, ContStart->isChecked(),
                          {MaskEditRstTx->isEnabled(), MaskEditRstRx->isEnabled(), MaskEditName->isEnabled(),
                           MaskEditQth->isEnabled()});
    if (action.save)
        ButtonSave->click();
    if (action.focus) {
        QWidget *const targets[] = {MaskEditCall, MaskEditRstTx, MaskEditRstRx, MaskEditName, MaskEditQth, EditNmRx};
        targets[int(*action.focus)]->setFocus();
    }
    return action.save || action.focus;
}

// The second key typed into a name or QTH: the first letter becomes a
// capital (in any alphabet) and the caret goes behind it.
void TForm3::capitalizeFirstLetter(QLineEdit *field)
{
    const QString text = field->text();
    if (text.size() != 1)
        return;
    field->setText(text.toUpper());
    field->setCursorPosition(1);
}

void TForm3::Timer3Timer()
{
    const Stopwatch::Time now =
        Stopwatch::tick({LabelH->text().toInt(), LabelM->text().toInt(), LabelS->text().toInt()});
    LabelS->setText(twoDigits(now.seconds));
    LabelM->setText(twoDigits(now.minutes));
    LabelH->setText(twoDigits(now.hours));
}

void TForm3::TimStartClick()
{
    TimStart->setChecked(true);
    Timer3->start();
}

void TForm3::TimStopClick()
{
    TimStop->setChecked(true);
    Timer3->stop();
}

void TForm3::TimStopClearClick()
{
    TimStopClear->setChecked(true);
    Timer3->stop();
    for (QLabel *l : {LabelH, LabelM, LabelS})
        l->setText(QStringLiteral("00"));
}

void TForm3::TimTotalClick()
{
    TimTotal->setChecked(true);
}

void TForm3::TimQSOClick()
{
    TimQSO->setChecked(true);
}
