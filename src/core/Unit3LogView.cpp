// The log view under the entry: sort orders, deleting a contact, clearing the
// entry fields, the shading of confirmed contacts and the QSL fillers.

#include "core/Unit3.h"

#include "core/RecordBrowsing.h"
#include "core/Unit2.h"
#include "platform/format/TextFormat.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QDate>

namespace {

// Confirmed contacts (a received QSL) are drawn on silver.
const QColor confirmedBackground(192, 192, 192);

} // namespace

void TForm3::DBGridLogDrawDataCell()
{
    DBGridLog->setRowBackground([](const Db::GridModel::FieldText &text) -> std::optional<QColor> {
        if (text(QStringLiteral("LogRxQsl")).isEmpty())
            return std::nullopt;
        return confirmedBackground;
    });
}

// A range stays only when the new order has the range's field first (after
// the call filter, "Callsignal"); a filter's range on another field would
// show wrong rows in the new order.
void TForm3::sortBy(Ui::MenuItem *item, const QString &indexName)
{
    DM->DataSource1.setEnabled(false);
    item->setChecked(true);
    Ui::runGuarded([&] {
        if (DM->Table1.isActive())
            DM->Table1.setIndexNameKeepingRange(indexName);
    });
    DM->DataSource1.setEnabled(true);
}

void TForm3::ViewSortCallClick() { sortBy(ViewSortCall, QStringLiteral("ByCDT")); }
void TForm3::ViewSortDateClick() { sortBy(ViewSortDate, QStringLiteral("ByDatTim")); }
void TForm3::ViewSortBandClick() { sortBy(ViewSortBand, QStringLiteral("ByBand")); }
void TForm3::ViewSortModeClick() { sortBy(ViewSortMode, QStringLiteral("ByMode")); }
void TForm3::ViewSortQthClick() { sortBy(ViewSortQth, QStringLiteral("ByQth")); }
void TForm3::ViewSortNameClick() { sortBy(ViewSortName, QStringLiteral("ByName")); }
void TForm3::ViewSortRxQslClick() { sortBy(ViewSortRxQsl, QStringLiteral("ByRxQSL")); }
void TForm3::ViewSortTxQslClick() { sortBy(ViewSortTxQsl, QStringLiteral("ByTxQSL")); }

void TForm3::ViewDeleteQsoClick()
{
    Db::Table &log = DM->Table1;
    // Nothing selected, nothing to ask.
    if (!log.isActive() || log.currentRowId() == 0)
        return;
    const Ui::Answer answer =
        Ui::askYesNoCancel(QStringLiteral("Delete ") + log.fieldByName(QStringLiteral("LogCall")).asString() +
                           QStringLiteral(" ?"));
    MemoNot->clear();
    // The award marks stay: they are rebuilt from the log when wanted.
    if (answer == Ui::Answer::Yes)
        log.deleteRecord();
}

void TForm3::ButtonClearClick()
{
    Label24->setText(QStringLiteral("JKL"));
    // However the steps end, browsing runs again and the entry takes the keys.
    struct Done {
        TForm3 *form;
        ~Done()
        {
            form->Label24->setText(QStringLiteral("Save"));
            form->MaskEditCall->setFocus();
        }
    } done{this};
    clearEntry();
    if (RecordBrowsing::editMode(ButtonEdit->text()))
        return;
    ViewSortDate->setChecked(true);
    DM->wholeLogByDate();
    if (DM->Table1.isActive())
        Total->setText(TextFormat::integerText(DM->Table1.recordCount()));
}

// "Insert Date" writes the program's own date format, never the machine's.
void TForm3::InsertDate1Click() { MaskEditQslRx->setText(TextFormat::dateText(QDate::currentDate())); }
void TForm3::InsertYes1Click() { MaskEditQslRx->setText(QStringLiteral("Yes")); }
void TForm3::eQSL2Click() { MaskEditQslRx->setText(QStringLiteral("eQSL")); }
void TForm3::InsertDate2Click() { MaskEditQslTx->setText(TextFormat::dateText(QDate::currentDate())); }
void TForm3::InsertYes2Click() { MaskEditQslTx->setText(QStringLiteral("Yes")); }
void TForm3::eQSL1Click() { MaskEditQslTx->setText(QStringLiteral("eQSL")); }
