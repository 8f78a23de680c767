// What the settings window does: reading and writing "Tarnel.ini" and pushing
// the settings into the other windows (the activation, save and close sets).

#include "core/UConf.h"

#include "awards/FDipA.h"
#include "awards/FDipB.h"
#include "core/MainClock.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/shell/Shell.h"
#include "platform/table/Database.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QFileInfo>
#include <exception>
#include <utility>

namespace {

const QString noProgram = QStringLiteral("C:\\");

// A stored contact is being edited in the main window: its values must stay.
bool editingContact()
{
    return Form3->ButtonEdit->text() == QLatin1String("Esc");
}

} // namespace

// ------------------------------------------------------------------ handlers

void TConfig::FormShow()
{
    opening_ = true;
}

void TConfig::FormActivate()
{
    // Only an opening reads the file: focus coming back to the window must not
    // undo what the operator has typed.
    if (!std::exchange(opening_, false))
        return;
    // A file that cannot be read is reported; the window's values still apply,
    // so the clock runs and start-up finishes.
    Ui::runGuarded([this] { readSettings(); });
    showMachineOffset();
    showLogColumns();
    nameAwards();
    fixEntryValues(true);
    fixEntryValues(false);
    markAutoSave();
    if (!CheckBoxInfo->isChecked())
        enableNotepad();
    setBandAndMode();
    startClock();
    Form3->Timer2->start();
    showPrograms();
    setMainCaption();
    nameLogs();
    pointFixedLabels();
    clickInfoOption();
    checkCallbooks();
}

void TConfig::FormClose()
{
    setMainCaption();
    nameLogs();
    pointFixedLabels();
    clickInfoOption();
    showPrograms();
    // An offset field left by closing the window has stopped the clock.
    startClock();
}

void TConfig::Button1Click()
{
    save();
}

void TConfig::Button2Click()
{
    closeWindow();
}

void TConfig::Button4Click()
{
    if (save())
        closeWindow();
}

void TConfig::MaskEditTChange()
{
    Form3->Timer1->stop();
}

void TConfig::MaskEdit2TChange()
{
    Form3->Timer1->stop();
}

void TConfig::MaskEditTExit()
{
    startClock();
}

void TConfig::MaskEdit2TExit()
{
    startClock();
}

void TConfig::CheckBoxVCDClick()
{
    refuseMissingBase(QStringLiteral("Not VCD in this directory !"));
}

void TConfig::refuseMissingBase(const QString &warning)
{
    if (!CheckBoxVCD->isChecked() || externalBaseFound())
        return;
    Ui::showWarning(warning);
    CheckBoxVCD->setChecked(false);
}

void TConfig::HelpConClick()
{
    Shell::openHelp(programDirectory(), QStringLiteral("Tnl.html"), QStringLiteral("Configuration"));
}

// ------------------------------------------------------------ file

std::optional<SettingsFile::Reading> TConfig::fileReading() const
{
    const QString path = settingsPath();
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return SettingsFile::parse(SettingsFile::readFile(path));
}

bool TConfig::readSettings()
{
    const std::optional<SettingsFile::Reading> reading = fileReading();
    if (!reading)
        return false;
    Form3->Timer1->stop();
    setSettingValues(reading->values);
    if (!reading->problem.isEmpty())
        Ui::showError(reading->problem);
    // Every reading tests the directory the file names, so a base that is
    // gone unticks the box again at each opening; the warning names the
    // directory, which the operator may not have seen yet.
    if (CheckBoxVCD->isChecked())
        refuseMissingBase(QStringLiteral("Not VCD in this directory !\n") + EditVCD->text());
    return true;
}

bool TConfig::save()
{
    std::exception_ptr failure;
    try {
        SettingsFile::writeFile(settingsPath(), SettingsFile::compose(settingValues()));
    } catch (...) {
        failure = std::current_exception();
    }
    showLogColumns();
    setBandAndMode();
    fixEntryValues(true);
    fixEntryValues(false);
    nameAwards();
    if (!CheckBoxInfo->isChecked()) {
        enableNotepad();
        markAutoSave();
    }
    if (failure) {
        Ui::showError(Ui::errorText(failure));
        return false;
    }
    return true;
}

// ------------------------------------------------------------ steps

void TConfig::showLogColumns()
{
    if (!DM)
        return;
    const std::pair<QCheckBox *, const char *> columns[] = {
        {CheckBox1D, "LogDate"},   {CheckBox1T, "LogTime"},   {CheckBox1B, "LogBand"},  {CheckBox1M, "LogMode"},
        {CheckBox1N, "LogName"},   {CheckBox1Q, "LogQth"},    {CheckBox1RR, "LogRxRst"}, {CheckBox1TR, "LogTxRst"},
        {CheckBox1QR, "LogRxQsl"}, {CheckBox1QS, "LogTxQsl"}};
    for (bool visible : {false, true})
        for (const auto &[box, field] : columns)
            if (box->isChecked() == visible)
                DM->Table1.setFieldVisible(QString::fromLatin1(field), visible);
}

void TConfig::nameAwards()
{
    if (!EditDipA->text().isEmpty()) {
        FDipA->setWindowTitle(EditDipA->text());
        Form3->Diplom11->setText(EditDipA->text());
        Form3->Award11->setText(EditDipA->text());
    }
    if (!EditDipB->text().isEmpty()) {
        FDipB->setWindowTitle(EditDipB->text());
        Form3->Diplom21->setText(EditDipB->text());
        Form3->Award21->setText(EditDipB->text());
    }
}

void TConfig::fixEntryValues(bool ticked)
{
    // The unticked name and QTH fields are emptied; the reports always take
    // their default.
    struct Fixed {
        QCheckBox *box;
        QWidget *field;
        QLineEdit *target;
        QString value;
    };
    const Fixed fields[] = {
        {CheckBoxRxRst, Form3->MaskEditRstRx, Form3->MaskEditRstRx, MaskEditRxR->text()},
        {CheckBoxTxRst, Form3->MaskEditRstTx, Form3->MaskEditRstTx, MaskEditTxR->text()},
        {CheckBoxName, Form3->MaskEditName, Form3->MaskEditName, ticked ? EditName->text() : QString()},
        {CheckBoxQth, Form3->MaskEditQth, Form3->MaskEditQth, ticked ? EditQth->text() : QString()},
        {CheckBoxInfo, Form3->MemoNot, ticked ? Form3->EditIf : nullptr, EditI->text()},
    };
    const bool editing = editingContact();
    for (const Fixed &f : fields) {
        if (f.box->isChecked() != ticked)
            continue;
        if (f.target && !editing)
            f.target->setText(f.value);
        // An unticked "Info" gives the notepad back in its own step.
        if (ticked || f.box != CheckBoxInfo)
            f.field->setEnabled(!ticked);
    }
}

void TConfig::markAutoSave()
{
    Form3->SoundAutosave->setChecked(CheckBoxSound->isChecked());
    // The "A" beside the recorder buttons tells automatic saving is on.
    Form3->Label31->setVisible(CheckBoxSound->isChecked());
}

void TConfig::enableNotepad()
{
    Form3->MemoNot->setEnabled(true);
}

void TConfig::setBandAndMode()
{
    if (editingContact())
        return;
    Form3->ComboBoxBand->setCurrentText(ComboBoxGF->currentText());
    Form3->ComboBoxMode->setCurrentText(ComboBoxGM->currentText());
}

void TConfig::showMachineOffset()
{
    // Greyed in the empty fields, which keep following the machine's zone
    // until the operator types an offset of its own.
    const MainClock::OffsetTexts offset = MainClock::machineOffsetTexts(MainClock::now());
    MaskEditT->setPlaceholderText(offset.hours);
    MaskEdit2T->setPlaceholderText(offset.minutes);
}

void TConfig::startClock()
{
    // The clock runs exactly while "Real" is ticked (edit mode and a contact
    // typed in by hand untick it), and a running clock is left running: a
    // restart would lose an event set in the second before it.
    if (!Form3->CheckBoxTime->isChecked())
        return;
    // Shown at once, so a contact saved in the first second has its date.
    Form3->showEntryTime(MainClock::now());
    if (!Form3->Timer1->isActive())
        Form3->Timer1->start();
}

void TConfig::showPrograms()
{
    const std::pair<Ui::MenuItem *, std::pair<QLineEdit *, QLineEdit *>> programs[] = {
        {Form3->Pr11, {EditPr1, EditPrN1}}, {Form3->Pr21, {EditPr2, EditPrN2}}, {Form3->Pr31, {EditPr3, EditPrN3}},
        {Form3->Pr41, {EditPr4, EditPrN4}}, {Form3->Pr51, {EditPr5, EditPrN5}}, {Form3->Pr61, {EditPr6, EditPrN6}},
        {Form3->Pr91, {EditPr9, EditPrN9}}, {Form3->Pr81, {EditPr8, EditPrN8}}};
    for (const auto &[item, edits] : programs) {
        const bool shown = edits.first->text() != noProgram;
        if (shown)
            item->setText(edits.second->text());
        item->setVisible(shown);
    }
}

void TConfig::setMainCaption()
{
    Form3->setWindowTitle(QStringLiteral("Tarnel  ( ") + MaskEditC->text() + QStringLiteral(" )"));
}

void TConfig::nameLogs()
{
    Form3->LogLog1->setText(EditL1->text());
    Form3->LogAddLog1->setText(EditL1->text());
    Form3->LogLog2->setText(EditL2->text());
    Form3->LogAddLog2->setText(EditL2->text());
    Form3->LogLog3->setText(EditL3->text());
    Form3->LogAddLog3->setText(EditL3->text());
}

void TConfig::pointFixedLabels()
{
    const std::pair<QCheckBox *, QLabel *> labels[] = {{CheckBoxRxRst, Form3->Label4},
                                                      {CheckBoxTxRst, Form3->Label3},
                                                      {CheckBoxName, Form3->Label5},
                                                      {CheckBoxQth, Form3->Label6},
                                                      {CheckBoxInfo, Form3->Label13}};
    for (const auto &[box, label] : labels)
        if (box->isChecked())
            label->setCursor(Qt::PointingHandCursor);
}

void TConfig::clickInfoOption()
{
    Ui::MenuItem *const options[] = {Form3->OptionDXCC, Form3->OptionWAZ, Form3->OptionUR};
    const int index = RadioGroupInf->itemIndex();
    if (index >= 0 && index < 3)
        options[index]->click();
}

void TConfig::checkCallbooks()
{
    const QString base = QDir(programDirectory()).filePath(QStringLiteral("Base"));
    const auto missing = [&base](const char *file) {
        return Db::findFileCaseInsensitive(base, QString::fromLatin1(file)).isEmpty();
    };
    if (missing("Cbook.db"))
        CheckBoxHamA->setChecked(false);
    if (missing("Cbook2.db") || missing("Cbook3.db"))
        CheckBoxQRZA->setChecked(false);
}

bool TConfig::externalBaseFound() const
{
    const QString dir = EditVCD->text();
    return !Db::findFileCaseInsensitive(dir, QStringLiteral("cs.db")).isEmpty() ||
           QFileInfo(dir + QStringLiteral("cs.db")).isFile();
}
