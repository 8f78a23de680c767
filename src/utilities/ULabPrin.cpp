#include "utilities/ULabPrin.h"

#include "core/MainClock.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/format/TextFormat.h"
#include "platform/print/Report.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "utilities/ULabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TFLabPrint *FLabPrint = nullptr;

namespace {

bool hasContact(const Db::Table &log)
{
    return log.isActive() && log.currentRowId() != 0;
}

// Marks the selected contact's QSL as sent today.
void markSent(Db::Table &log)
{
    if (!hasContact(log))
        return; // an edit here would append an empty contact
    const qint64 row = log.currentRowId();
    const QString date = TextFormat::dateText(MainClock::now().date());
    log.edit();
    try {
        log.fieldByName(QStringLiteral("LogTxQsl")).setAsString(date);
        log.post();
    } catch (...) {
        log.cancel();
        throw;
    }
    Form3->qslSentWritten(row, date);
}

} // namespace

QslLabel::Contact labelContact(Db::Table &log)
{
    if (!hasContact(log))
        return {};
    const auto text = [&log](const char *name) { return log.fieldByName(QString::fromLatin1(name)).asString(); };
    return {text("LogCall"), text("LogNotepad"), text("LogDate"), text("LogTime"),
            text("LogBand"), text("LogMode"),    text("LogTxRst"), text("LogRxQsl")};
}

TFLabPrint::TFLabPrint() : Ui::Window(QStringLiteral("FLabPrint"), QStringLiteral("Print QSL label"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    Edit1 = new QLineEdit(central);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    layout->addWidget(Edit1);
    Memo1 = new QPlainTextEdit(central);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFont(QslLabel::defaultFont());
    setMemoLines(Memo1, QslLabel::defaultTemplate());
    layout->addWidget(Memo1);
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    const auto button = [&](const char *name, const char *caption, void (TFLabPrint::*handler)()) {
        auto *b = new QPushButton(QString::fromLatin1(caption), central);
        b->setObjectName(QString::fromLatin1(name));
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        buttons->addWidget(b);
        return b;
    };
    Button1 = button("Button1", "Print", &TFLabPrint::Button1Click);
    Button2 = button("Button2", "Prior", &TFLabPrint::Button2Click);
    Button3 = button("Button3", "Next", &TFLabPrint::Button3Click);
    Button4 = button("Button4", "Close", &TFLabPrint::Button4Click);
    Button5 = button("Button5", "B", &TFLabPrint::Button5Click);
    Button5->hide();
    resize(700, 420);
}

void TFLabPrint::fillFrom(const QPlainTextEdit *source)
{
    const QslLabel::Contact contact = labelContact(DM->Table1);
    const QslLabel::Filled filled = QslLabel::fill(memoLines(source), contact);
    if (filled.callPlaced)
        Edit1->setText(contact.call);
    setMemoLines(Memo1, filled.lines);
}

void TFLabPrint::FormActivate() { fillFrom(Memo1); }

void TFLabPrint::Button5Click() { fillFrom(Flabel->Memo1); }

void TFLabPrint::Button2Click()
{
    if (DM->Table1.isActive())
        DM->Table1.prior();
    Button5->click();
}

void TFLabPrint::Button3Click()
{
    if (DM->Table1.isActive())
        DM->Table1.next();
    Button5->click();
}

void TFLabPrint::Button4Click() { closeWindow(); }

void TFLabPrint::Button1Click()
{
    const Ui::Answer answer = Ui::askYesNoCancel(QStringLiteral("Insert Date in Log ?"));
    // The date goes into the log only for a label that really went out.
    if (!Print::printLines(memoLines(Memo1), Memo1->font())) {
        Ui::showError(QStringLiteral("The label could not be printed: no printer could be opened."));
        return;
    }
    if (answer == Ui::Answer::Yes)
        markSent(DM->Table1);
}
