// Saving a contact from the entry fields, and edit mode: taking a logged
// contact back into the entry fields to correct it.

#include "core/Unit3.h"

#include "awards/ReferenceWindows.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "core/ContactSave.h"
#include "core/FConfirm.h"
#include "core/Povt.h"
#include "core/RecordBrowsing.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "lookups/UVCD.h"
#include "platform/format/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "station/USound.h"

#include <stdexcept>

namespace {

bool editMode()
{
    return RecordBrowsing::editMode(Form3->ButtonEdit->text());
}

} // namespace

void TForm3::ButtonSaveClick()
{
    Label24->setText(QStringLiteral("JKL"));
    const bool editing = editMode();
    bool saved = false;
    try {
        saved = saveContact();
    } catch (...) {
        // The contact was not stored: nothing half-written stays, the entry is
        // kept for another try and the grid follows the log again.
        DM->DataSource1.setEnabled(true);
        const QString error = Ui::errorText(std::current_exception());
        Ui::runGuarded([] {
            for (Db::Table *t : {&DM->Table1, &DM->LogLookup})
                if (t->isActive())
                    t->cancel();
        });
        Ui::showError(error);
    }
    // However the save ended, the grid follows the log again.
    DM->DataSource1.setEnabled(true);
    finishSave(editing && !saved);
}

// The save itself; false when a check failed (nothing written).
bool TForm3::saveContact()
{
    const QString call = MaskEditCall->text();
    if (const auto failure = ContactSave::checkEntry(call, MaskEditRstRx->text(), MaskEditRstTx->text())) {
        Ui::showWarning(failure->message);
        QWidget *field[] = {MaskEditCall, MaskEditRstRx, MaskEditRstTx};
        field[int(failure->field)]->setFocus();
        return false;
    }
    FConfirm->closeWindow();
    VCD->closeWindow();
    Povt->closeWindow();
    DM->DataSource1.setEnabled(false);
    for (QLineEdit *f : {static_cast<QLineEdit *>(MaskEditName), static_cast<QLineEdit *>(MaskEditQth)})
        f->setText(ContactSave::withoutStar(f->text()));

    const bool editing = editMode();
    const bool contest = ContStart->isChecked();
    const QString band = ComboBoxBand->currentText();
    const QString mode = ComboBoxMode->currentText();
    // Everything that can fail is worked out before the row is touched.
    QString points = QStringLiteral("0");
    std::optional<QString> nextSent;
    if (contest && !editing) {
        if (const auto field = ContactSave::pointFieldName(band, mode)) {
            const QLineEdit *value = ContConf->point(*field);
            const auto computed = ContactSave::contestPoints(ContConf->SPoint->value(), value ? value->text() : QString());
            if (!computed)
                throw std::runtime_error(
                    qPrintable(QStringLiteral("The points of %1 are not a number: %2").arg(*field, value->text())));
            points = *computed;
        }
        if (ContConf->CheckBoxSen->isChecked())
            nextSent = ContactSave::nextSentNumber(EditNmTx->text(), ContConf->MaskEdit1->text());
    }

    // A new contact goes through the grid's cursor. An edited one is the
    // contact that was loaded, whatever row the grid moved to since, found
    // through the cursor without a range if the grid's range no longer holds it.
    Db::Table *target = &DM->Table1;
    if (editing) {
        if (!target->moveToRowId(editedRow_)) {
            target = &DM->LogLookup;
            if (!target->moveToRowId(editedRow_))
                throw std::runtime_error("The contact being edited is no longer in the log; nothing was saved");
        }
        target->edit();
    } else {
        target->append();
    }
    Db::Table &log = *target;
    auto set = [&log](const char *field, const QString &value) {
        log.fieldByName(QString::fromLatin1(field)).setAsString(value);
    };
    set("LogCall", call);
    // An edited contact keeps its stored country unless its callsign was typed anew.
    if (!editing || call != editedCall_) {
        set("LogPref", EntryPrefix ? EntryPrefix->dxccPrefix : QString());
        set("LogObl", EntryPrefix ? EntryPrefix->country : QString());
    }
    set("LogDate", MaskEditDate->text());
    set("LogTime", MaskEditTime->text());
    set("LogBand", band);
    set("LogMode", mode);
    set("LogName", MaskEditName->text());
    set("LogQth", MaskEditQth->text());
    set("LogRxRst", MaskEditRstRx->text());
    set("LogTxRst", MaskEditRstTx->text());
    set("LogTxQsl", MaskEditQslTx->text());
    set("LogRxQsl", MaskEditQslRx->text());
    set("LogNotepad", Config->CheckBoxInfo->isChecked() ? EditIf->text() : MemoNot->toPlainText());
    const QString reference = encodeReferenceWindows();
    if (!reference.isEmpty())
        set("LogOther", reference);
    set("Log1", QString());
    // An edit keeps the contact's contest data as it was logged.
    if (!editing) {
        set("Log2", contest ? EditNmRx->text() : QString());
        set("Log3", contest ? EditNmTx->text() : QString());
        set("Log4", points);
    }
    log.post();
    // The contact is in the log. What follows only derives from it: a failure
    // there is reported, and the save still counts as done (a retry would log
    // the contact twice).
    afterPost(contest && !editing, points, nextSent);
    return true;
}

void TForm3::afterPost(bool counted, const QString &points, const std::optional<QString> &nextSent)
{
    // Each step only derives from the saved contact and is guarded on its
    // own: one that fails is reported and the others still run. Above all the
    // entry is cleared and the grid attached, or a second "Save" would log the
    // contact twice.
    Db::Table &log = DM->Table1;
    Ui::runGuarded([&] {
        if (nextSent)
            EditNmTx->setText(*nextSent);
        if (counted)
            Cont->Label5->setText(ContactSave::addPoints(Cont->Label5->text(), points));
        if (editMode()) {
            CheckBoxTime->setChecked(true);
            CheckBoxTime->setEnabled(true);
        }
        Total->setText(TextFormat::integerText(log.recordCount()));
    });
    // The award tables can be rebuilt from the log.
    Ui::runGuarded([&] {
        const AwardMarks::Qsl qsl{MaskEditQslRx->text(), MaskEditQslTx->text()};
        DM->Marks.mark(EntryPrefix, ComboBoxBand->currentText(), ComboBoxMode->currentText(), !qsl.received.isEmpty(),
                       &qsl);
        // The marks went through cursors of their own: the award rows on show
        // (the contest window's panels) read them again.
        for (Db::Table *award : {&DM->Table4, &DM->Table9, &DM->Table5})
            if (award->isActive())
                award->refresh();
    });
    if (SoundAutosave->isChecked())
        Ui::runGuarded([] {
            SoundR->ButtonStopClick();
            SoundR->ButtonSaveClick();
        });
    Ui::runGuarded([this] { clearEntry(); });
    Ui::runGuarded([&log] { log.last(); });
    DM->DataSource1.setEnabled(true);
    MaskEditCall->setFocus();
}

// The entry fields after a save or a clear; fixed fields keep their text.
void TForm3::clearEntry()
{
    MaskEditCall->clear();
    if (MaskEditQth->isEnabled())
        MaskEditQth->clear();
    if (MaskEditName->isEnabled())
        MaskEditName->clear();
    Ui::setMemoText(MemoNot, {});
    MaskEditQslRx->clear();
    MaskEditQslTx->clear();
    resetInfo();
}

void TForm3::finishSave(bool stayInEditMode)
{
    if (TimQSO->isChecked()) {
        Timer3->stop();
        for (QLabel *l : {LabelS, LabelM, LabelH})
            l->setText(QStringLiteral("00"));
    }
    // A save that did not happen in edit mode leaves the contact being edited
    // where it was: overlays hidden, "Real" off, caption "Esc".
    if (!stayInEditMode) {
        Edit3->show();
        Edit2->show();
        ButtonEdit->setText(QStringLiteral("Edit"));
    }
    Label24->setText(QStringLiteral("Save"));
    if (DM->Table1.isActive())
        Label35->setText(DM->Table1.fieldByName(QStringLiteral("LogObl")).asString());
}

void TForm3::ButtonEditClick()
{
    if (editMode()) {
        leaveEditMode();
        return;
    }
    Db::Table &log = DM->Table1;
    if (!log.isActive() || log.currentRowId() == 0)
        return; // no contact to take
    CheckBoxTime->setChecked(false);
    CheckBoxTime->setEnabled(false);
    ButtonEdit->setText(QStringLiteral("Esc"));
    Edit2->hide();
    Edit3->hide();
    editedRow_ = log.currentRowId();
    auto field = [&log](const char *name) { return log.fieldByName(QString::fromLatin1(name)).asString(); };
    editedCall_ = field("LogCall");
    MaskEditCall->setText(editedCall_);
    MaskEditRstRx->setText(field("LogRxRst"));
    MaskEditRstTx->setText(field("LogTxRst"));
    MaskEditName->setText(field("LogName"));
    MaskEditQth->setText(field("LogQth"));
    MaskEditTime->setText(field("LogTime"));
    MaskEditDate->setText(field("LogDate"));
    ComboBoxBand->setCurrentText(field("LogBand"));
    ComboBoxMode->setCurrentText(field("LogMode"));
    MaskEditQslRx->setText(field("LogRxQsl"));
    MaskEditQslTx->setText(field("LogTxQsl"));
    LabelCount->setText(field("LogObl"));
    MaskEditName->setText(field("LogName"));
    MaskEditQth->setText(field("LogQth"));
}

void TForm3::qslSentWritten(qint64 row, const QString &date)
{
    if (editMode() && row == editedRow_)
        MaskEditQslTx->setText(date);
}

void TForm3::leaveEditMode()
{
    CheckBoxTime->setChecked(true);
    CheckBoxTime->setEnabled(true);
    ButtonEdit->setText(QStringLiteral("Edit"));
    Edit3->show();
    Edit2->show();
    MaskEditCall->clear();
    if (MaskEditQth->isEnabled())
        MaskEditQth->clear();
    if (MaskEditName->isEnabled())
        MaskEditName->clear();
    if (MemoNot->isEnabled())
        MemoNot->clear();
    resetInfo();
    MaskEditCall->setFocus();
}
