// The look-up chain that runs when the operator leaves the callsign field:
// the local callbooks, earlier contacts in the log, the external base and the
// one-contact exchange file "TnlQSO.ini".

#include "core/Unit3.h"

#include "core/FConfirm.h"
#include "core/LookupChain.h"
#include "core/Povt.h"
#include "core/SettingsFile.h"
#include "core/UConf.h"
#include "core/Unit2.h"
#include "exchange/ExchangeFile.h"
#include "lookups/UVCD.h"
#include "platform/table/Database.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "platform/ui/Window.h"
#include "utilities/UImage.h"

#include <QDir>
#include <QEvent>
#include <QLineEdit>

namespace {

bool longerThanTwo(const QString &text)
{
    return text.size() > 2;
}

bool baseFileExists(const char *fileName)
{
    return !Db::findFileCaseInsensitive(QDir(Form3->EditDir->text()).filePath(QStringLiteral("Base")),
                                        QString::fromLatin1(fileName))
                .isEmpty();
}

} // namespace

void TForm3::connectLookupsAndLogView()
{
    const std::pair<QPushButton *, void (TForm3::*)()> buttons[] = {
        {ButExt2, &TForm3::ButExt2Click},     {ButExt3, &TForm3::ButExt3Click}, {ButtonFind, &TForm3::ButtonFindClick},
        {ButtonExt, &TForm3::ButtonExtClick}, {ButtonQ, &TForm3::ButtonQClick}, {ButtonClear, &TForm3::ButtonClearClick},
    };
    for (const auto &[b, handler] : buttons)
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
    // The callbooks follow a manual look-up of earlier contacts, after its click.
    ButtonFind->installEventFilter(new Ui::GuardedEventFilter(
        [this](QObject *, QEvent *event) {
            if (event->type() == QEvent::MouseButtonRelease)
                QMetaObject::invokeMethod(
                    this, [this] { Ui::runGuarded([this] { ButtonFindMouseUp(); }); }, Qt::QueuedConnection);
            return false;
        },
        this));
    const std::pair<Ui::MaskEdit *, void (TForm3::*)()> exits[] = {
        {MaskEditCall, &TForm3::MaskEditCallExit},
        {MaskEditRstTx, &TForm3::MaskEditRstTxExit},
        {MaskEditName, &TForm3::MaskEditNameExit},
        {MaskEditQth, &TForm3::MaskEditQthExit},
    };
    for (const auto &[field, handler] : exits)
        Ui::connectGuarded(field, &Ui::MaskEdit::exited, this, [this, handler = handler] { (this->*handler)(); });
    const std::pair<Ui::MenuItem *, void (TForm3::*)()> items[] = {
        {ViewSortCall, &TForm3::ViewSortCallClick},   {ViewSortDate, &TForm3::ViewSortDateClick},
        {ViewSortBand, &TForm3::ViewSortBandClick},   {ViewSortMode, &TForm3::ViewSortModeClick},
        {ViewSortQth, &TForm3::ViewSortQthClick},     {ViewSortName, &TForm3::ViewSortNameClick},
        {ViewSortRxQsl, &TForm3::ViewSortRxQslClick}, {ViewSortTxQsl, &TForm3::ViewSortTxQslClick},
        {ViewDeleteQso, &TForm3::ViewDeleteQsoClick}, {Delete1, &TForm3::Delete1Click},
        {InsertDate1, &TForm3::InsertDate1Click},     {InsertYes1, &TForm3::InsertYes1Click},
        {eQSL2, &TForm3::eQSL2Click},                 {InsertDate2, &TForm3::InsertDate2Click},
        {InsertYes2, &TForm3::InsertYes2Click},       {eQSL1, &TForm3::eQSL1Click},
    };
    for (const auto &[item, handler] : items)
        item->setHandler([this, handler = handler] { (this->*handler)(); });
}

void TForm3::MaskEditCallExit()
{
    runLookups();
    showLookupResults(true);
}

void TForm3::showLookupResults(bool focusReport)
{
    if (!VCD->isVisible() && !Povt->isVisible())
        return;
    if (longerThanTwo(MaskEditCall->text()) && TimQSO->isChecked())
        Timer3->start();
    showWindow();
    if (focusReport) {
        if (MaskEditRstTx->isEnabled()) {
            MaskEditRstTx->setFocus();
            // The report typed next replaces the default one.
            MaskEditRstTx->selectAll();
        }
        offerConfirmation();
    } else if (MaskEditRstTx->isEnabled()) {
        offerConfirmation();
    }
}

void TForm3::runLookups()
{
    // A confirmation offer belongs to this callsign only, never to the last.
    FConfirm->Edit1->clear();
    FConfirm->Edit2->clear();
    const LookupChain::Steps steps = LookupChain::steps({Config->CheckBoxQRZA->isChecked(),
                                                         Config->CheckBoxHamA->isChecked(), !ContStop->isChecked(),
                                                         Config->CheckBoxRep->isChecked(), OptionRep->isChecked(),
                                                         Config->CheckBoxVCDA->isChecked()});
    if (steps.internal1)
        ButExt2->click();
    if (steps.internal2)
        ButExt3->click();
    if (steps.earlierContacts)
        ButtonFind->click();
    if (steps.externalBase)
        ButtonExt->click();
    ButtonQ->click();
}

// Takes the name and QTH of `call` from a local callbook; false when the
// callbook is closed or does not hold the callsign.
bool TForm3::lookUpCallbook(Db::Table &callbook, const QString &call)
{
    if (!callbook.isActive())
        return false;
    callbook.first();
    callbook.locate(QStringLiteral("Call"), call);
    if (callbook.fieldByName(QStringLiteral("Call")).asString() != call)
        return false;
    MaskEditName->setText(callbook.fieldByName(QStringLiteral("Name")).asString());
    MaskEditQth->setText(callbook.fieldByName(QStringLiteral("QTH")).asString());
    return true;
}

void TForm3::ButExt2Click()
{
    const QString call = MaskEditCall->text();
    if (!baseFileExists("Cbook2.db") || !baseFileExists("Cbook3.db") || !Config->CheckBoxQRZ->isChecked() ||
        !longerThanTwo(call))
        return;
    if (!lookUpCallbook(DM->TabCbQRZ1, call) && MaskEditName->text().size() < 3)
        lookUpCallbook(DM->TabCbQRZ2, call);
}

void TForm3::ButExt3Click()
{
    const QString call = MaskEditCall->text();
    if (baseFileExists("Cbook.db") && Config->CheckBoxHam->isChecked() && longerThanTwo(call))
        lookUpCallbook(DM->TableCllbk, call);
}

void TForm3::ButtonFindClick()
{
    FConfirm->Edit1->setText(MaskEditName->text());
    FConfirm->Edit2->setText(MaskEditQth->text());
    const QString call = MaskEditCall->text();
    Db::Table &log = DM->Table7;
    if (!longerThanTwo(call) || !log.isActive())
        return;
    log.refresh();
    if (AutoViewImages1->isChecked() && FImage->hasPictureOf(call))
        FImage->showPictureOf(call);
    log.setIndexName(QStringLiteral("ByCall"));
    log.setRange(call, call);
    const auto field = [&log](const char *name) { return log.fieldByName(QString::fromLatin1(name)).asString(); };
    if (!longerThanTwo(field("LogCall")))
        return;
    if (field("LogName").size() > 2)
        MaskEditName->setText(field("LogName"));
    if (field("LogQth").size() > 3)
        MaskEditQth->setText(field("LogQth"));
    Povt->showWindow();
    offerConfirmation();
}

void TForm3::ButtonFindMouseUp()
{
    if (Config->CheckBoxQRZ->isChecked())
        ButExt2->click();
    if (Config->CheckBoxHam->isChecked())
        ButExt3->click();
}

void TForm3::ButtonExtClick()
{
    // The base keeps six characters of a callsign.
    const QString call = MaskEditCall->text().left(6);
    Db::Table &base = DM->Table8;
    // The base opens with the settings; until then there is nothing to find.
    if (!Config->CheckBoxVCD->isChecked() || !longerThanTwo(call) || !base.isActive())
        return;
    base.setRange(call, call);
    if (!longerThanTwo(base.fieldByName(QStringLiteral("CallSign")).asString()))
        return;
    MaskEditName->setText(LookupChain::externalName(base.fieldByName(QStringLiteral("Name")).asString()));
    MaskEditQth->setText(LookupChain::externalQth(base.fieldByName(QStringLiteral("Address")).asString()));
    VCD->showWindow();
}

void TForm3::offerConfirmation()
{
    if (LookupChain::offersConfirmation(FConfirm->Edit1->text(), FConfirm->Edit2->text(),
                                        Config->CheckBoxQRZA->isChecked() || Config->CheckBoxHamA->isChecked(),
                                        MaskEditName->text(), MaskEditQth->text()))
        FConfirm->showWindow();
}

void TForm3::ButtonQClick()
{
    const QByteArray bytes = ExchangeFile::compose(
        {MaskEditCall->text(), MaskEditRstTx->text(), MaskEditRstRx->text(), MaskEditName->text(), MaskEditQth->text()});
    try {
        // Whole or not at all: another program may read it at any moment.
        SettingsFile::writeFile(QDir(EditDir->text()).filePath(QStringLiteral("TnlQSO.ini")), bytes);
        exchangeFailureShown_ = false;
    } catch (...) {
        // Every field exit rewrites the file: one box until it works again.
        if (!std::exchange(exchangeFailureShown_, true))
            throw;
    }
}
