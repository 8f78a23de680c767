// The main window's side of a contest: Begin and End, the contest window,
// the band box and the received contest number.

#include "core/Unit3.h"

#include "contest/ContestCount.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "platform/table/Table.h"
#include "platform/ui/Guard.h"

#include <QKeyEvent>
#include <memory>

namespace {

const QString logTime = QStringLiteral("LogTime");

// The second cursor's grid order with the time at `position` (5: after the
// date, during a contest; 11: after the sent report).
QStringList secondCursorOrder(int position)
{
    QStringList order{QStringLiteral("LogNom"),  QStringLiteral("LogCall"),  QStringLiteral("LogPref"),
                      QStringLiteral("LogObl"),  QStringLiteral("LogDate"),  QStringLiteral("LogBand"),
                      QStringLiteral("LogMode"), QStringLiteral("LogName"),  QStringLiteral("LogQth"),
                      QStringLiteral("LogRxRst"), QStringLiteral("LogTxRst")};
    order.insert(position, logTime);
    return order;
}

void setColumns(Db::Table &log, const QStringList &fields, bool visible)
{
    for (const QString &f : fields)
        log.setFieldVisible(f, visible);
}

const QStringList nameQthQsl{QStringLiteral("LogName"), QStringLiteral("LogQth"), QStringLiteral("LogRxQsl"),
                             QStringLiteral("LogTxQsl")};
const QStringList numbers{QStringLiteral("Log2"), QStringLiteral("Log3")};

// The sent number of the latest contact of the whole log (highest number),
// whatever order the grid shows.
QString latestSentNumber()
{
    if (!DM->Table1.isActive())
        return {};
    Db::Table log(DM->Table1.database(), DM->Table1.tableName());
    log.open();
    log.last();
    return log.currentRowId() ? log.fieldByName(QStringLiteral("Log3")).asString() : QString();
}

} // namespace

void TForm3::connectContest()
{
    const std::pair<Ui::MenuItem *, void (TForm3::*)()> items[] = {
        {ContStart, &TForm3::ContStartClick}, {ContStop, &TForm3::ContStopClick},
        {View1, &TForm3::View1Click},         {OptionRep, &TForm3::OptionRepClick},
    };
    for (const auto &[item, handler] : items)
        item->setHandler([this, handler = handler] { (this->*handler)(); });
    Ui::connectGuarded(ComboBoxBand, &QComboBox::currentTextChanged, this, [this] { ComboBoxBandChange(); });
    Ui::connectGuarded(EditNmRx, &Ui::MaskEdit::exited, this, [this] { EditNmRxExit(); });
    // A key acts as it comes up, and only when it went down here too (the
    // Enter that closes a message box must not save again).
    auto pressed = std::make_shared<int>(0);
    EditNmRx->installEventFilter(new Ui::GuardedEventFilter(
        [this, pressed](QObject *, QEvent *event) {
            if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
                return false;
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->isAutoRepeat())
                return false;
            if (event->type() == QEvent::KeyPress) {
                *pressed = key->key();
                return false;
            }
            if (std::exchange(*pressed, 0) != key->key())
                return false;
            return EditNmRxKeyUp(key);
        },
        this));
}

void TForm3::ContStartClick()
{
    Cont->closeWindow();
    OptionRep->setChecked(false);
    OptionRep->setEnabled(false);
    Cont->showWindow();
    Cont->GroupBox7->show();
    ContStart->setChecked(true);
    for (QWidget *w : {static_cast<QWidget *>(Label5), static_cast<QWidget *>(Label6),
                       static_cast<QWidget *>(MaskEditName), static_cast<QWidget *>(MaskEditQth)})
        w->hide();
    MaskEditName->setEnabled(false);
    MaskEditQth->setEnabled(false);

    setColumns(DM->Table1, nameQthQsl, false);
    setColumns(DM->Table1, numbers, true);
    setColumns(DM->Table7, numbers + QStringList{QStringLiteral("LogCall")}, true);
    setColumns(DM->Table7, nameQthQsl, false);
    DM->Table7.setFieldOrder(secondCursorOrder(5));

    for (QWidget *w : {static_cast<QWidget *>(Label32), static_cast<QWidget *>(Label33),
                       static_cast<QWidget *>(EditNmTx), static_cast<QWidget *>(EditNmRx)})
        w->show();

    if (ContConf->CheckBoxSen->isChecked()) {
        if (const auto next = ContestCount::sentAtBegin(latestSentNumber(), ContConf->MaskEdit1->text()))
            EditNmTx->setText(*next);
    } else {
        EditNmTx->setText(ContConf->EditSen->text());
    }
    Cont->Button1->click();
}

void TForm3::ContStopClick()
{
    Cont->closeWindow();
    OptionRep->setEnabled(true);
    ContStop->setChecked(true);
    for (QWidget *w : {static_cast<QWidget *>(Label5), static_cast<QWidget *>(Label6),
                       static_cast<QWidget *>(MaskEditName), static_cast<QWidget *>(MaskEditQth)})
        w->show();
    // A name or QTH fixed in the settings stays locked, or the next save
    // would clear the fixed value.
    MaskEditName->setEnabled(!Config->CheckBoxName->isChecked());
    MaskEditQth->setEnabled(!Config->CheckBoxQth->isChecked());
    LabelPw->hide();
    LabelPw1->hide();

    setColumns(DM->Table1, nameQthQsl, true);
    setColumns(DM->Table1, numbers, false);
    setColumns(DM->Table7, numbers + QStringList{QStringLiteral("LogCall")}, false);
    setColumns(DM->Table7, nameQthQsl, true);
    DM->Table7.setFieldOrder(secondCursorOrder(11));

    for (QWidget *w : {static_cast<QWidget *>(Label32), static_cast<QWidget *>(Label33),
                       static_cast<QWidget *>(EditNmTx), static_cast<QWidget *>(EditNmRx)})
        w->hide();
}

void TForm3::View1Click()
{
    ContStart->click();
    Cont->Button1->click();
}

void TForm3::OptionRepClick()
{
    OptionRep->setChecked(!OptionRep->isChecked());
    if (!OptionRep->isChecked()) {
        Cont->closeWindow();
        return;
    }
    Cont->showWindow();
    Cont->GroupBox4->hide();
    Cont->GroupBox7->hide();
    Cont->GroupBox3->hide();
    Cont->GroupBox2->show();
    DM->Table7.setFieldVisible(QStringLiteral("LogCall"), true);
    Cont->GroupBox9->show();
}

void TForm3::ComboBoxBandChange()
{
    if (ContStart->isChecked())
        Cont->Button1->click();
}

bool TForm3::EditNmRxKeyUp(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: ButtonSave->click(); return true;
    case Qt::Key_Down:
        if (!ContStart->isChecked())
            return false;
        MaskEditCall->setFocus();
        return true;
    case Qt::Key_Up:
        if (!ContStart->isChecked())
            return false;
        MaskEditRstRx->setFocus();
        return true;
    default: return false;
    }
}

void TForm3::EditNmRxExit()
{
    ButtonQ->click();
}
