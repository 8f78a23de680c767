// The three logs: switching the active one, adding another log to it, and
// clearing it.

#include "core/Unit3.h"

#include "awards/UDxcc.h"
#include "core/LogWalks.h"
#include "core/Progress.h"
#include "core/RecordBrowsing.h"
#include "core/Unit2.h"
#include "platform/format/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

void TForm3::connectLogItems()
{
    const std::pair<Ui::MenuItem *, void (TForm3::*)()> items[] = {
        {LogLog1, &TForm3::LogLog1Click},       {LogLog2, &TForm3::LogLog2Click},
        {LogLog3, &TForm3::LogLog3Click},       {LogAddLog1, &TForm3::LogAddLog1Click},
        {LogAddLog2, &TForm3::LogAddLog2Click}, {LogAddLog3, &TForm3::LogAddLog3Click},
        {LogClear, &TForm3::LogClearClick},
    };
    for (const auto &[item, handler] : items)
        item->setHandler([this, handler = handler] { (this->*handler)(); });
}

void TForm3::showAddItems()
{
    LogAddLog1->setVisible(!LogLog1->isChecked());
    LogAddLog2->setVisible(!LogLog2->isChecked());
    LogAddLog3->setVisible(!LogLog3->isChecked());
}

void TForm3::switchLog(int log)
{
    // An edit-mode save writes by the contact's number, which in another log
    // belongs to another contact: edit mode ends first, as "Esc" ends it.
    if (RecordBrowsing::editMode(ButtonEdit->text()))
        leaveEditMode();
    // The item is ticked only once the new log is open; a log that does not
    // open leaves the previous one open and ticked.
    DM->switchLog(log);
    Ui::MenuItem *const items[] = {LogLog1, LogLog2, LogLog3};
    items[log - 1]->setChecked(true);
    showAddItems();
    Total->setText(TextFormat::integerText(DM->Table1.recordCount()));
    AwDx->catchUp();
    checkLog();
}

void TForm3::LogLog1Click() { switchLog(1); }
void TForm3::LogLog2Click() { switchLog(2); }
void TForm3::LogLog3Click() { switchLog(3); }

void TForm3::addLog(int log)
{
    ProgressWalk walk;
    DM->Database6.close();
    DM->Database6.setDirectory(logDirectory(EditDir->text(), log));
    DM->Database6.open();
    Db::Table &source = DM->Table6;
    // Whatever happens, the source log is closed again.
    struct Closer {
        Db::Table &table;
        ~Closer() { table.close(); }
    } closer{source};
    source.open();
    walk.start(source.recordCount());
    LogWalks::appendLog(source, DM->Table1, [&walk] { walk.step(); });
    DM->Table1.last();
    Total->setText(TextFormat::integerText(DM->Table1.recordCount()));
}

void TForm3::LogAddLog1Click() { addLog(1); }
void TForm3::LogAddLog2Click() { addLog(2); }
void TForm3::LogAddLog3Click() { addLog(3); }

void TForm3::LogClearClick()
{
    if (Ui::askYesNoCancel(QStringLiteral("Clear LOG ?")) != Ui::Answer::Yes)
        return;
    Db::Table &log = DM->Table1;
    if (!log.isActive())
        return;
    ProgressWalk walk;
    MemoNot->hide();
    struct Notepad {
        QPlainTextEdit *memo;
        ~Notepad()
        {
            memo->clear();
            memo->show();
        }
    } notepad{MemoNot};
    walk.start(log.recordCount());
    // Only what the cursor shows: under a filter, the passing contacts.
    LogWalks::deleteShown(log, [&walk] { walk.step(); });
    Total->setText(TextFormat::integerText(log.recordCount()));
}
