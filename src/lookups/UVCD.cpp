#include "lookups/UVCD.h"

#include "core/Unit2.h"
#include "platform/table/Table.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

TVCD *VCD = nullptr;

namespace {

constexpr int callSignWidth = 6;

struct LineField {
    QLineEdit *TVCD::*edit;
    const char *name;
    const char *field;
    const char *label;
};

// The edits and the fields they show, in window order.
const LineField lineFields[] = {
    {&TVCD::DBEdit1, "DBEdit1", "CallSign", "Call"},     {&TVCD::DBEdit2, "DBEdit2", "Name", "Name"},
    {&TVCD::DBEdit3, "DBEdit3", "Country", "Country"},   {&TVCD::DBEdit4, "DBEdit4", "PostIndex", "Index"},
    {&TVCD::DBEdit5, "DBEdit5", "Address", "Address"},   {&TVCD::DBEdit6, "DBEdit6", "AddrStamp", "Date"},
    {&TVCD::DBEdit7, "DBEdit7", "PhoneCod", "Phone"},    {&TVCD::DBEdit8, "DBEdit8", "PhoneNum", "Tel"},
    {&TVCD::DBEdit11, "DBEdit11", "QTH", "QTH Loc"},     {&TVCD::DBEdit12, "DBEdit12", "Oblast", "Obl"},
};
const char *const memoField = "RHobby";

bool hasRow(const Db::Table &t)
{
    return t.isActive() && !t.isEmpty();
}

QString text(Db::Table &t, const char *field)
{
    return t.fieldByName(QString::fromLatin1(field)).asString();
}

} // namespace

TVCD::TVCD() : Ui::Window(QStringLiteral("VCD"), QStringLiteral("VCD"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QGridLayout(central);
    int row = 0;
    auto *keys = new Ui::GuardedEventFilter(
        [this](QObject *, QEvent *event) {
            if (event->type() == QEvent::KeyPress)
                FieldKeyPress();
            return false;
        },
        this);
    for (const LineField &f : lineFields) {
        auto *edit = new QLineEdit(central);
        edit->setObjectName(QString::fromLatin1(f.name));
        edit->installEventFilter(keys);
        this->*f.edit = edit;
        layout->addWidget(Ui::label(QString::fromLatin1(f.label), central), row, 0);
        layout->addWidget(edit, row++, 1, 1, 3);
    }
    DBEdit1->setReadOnly(true);
    DBEdit1->setMaxLength(callSignWidth);
    DBEdit1->setValidator(new Ui::UpperCaseValidator(DBEdit1));
    // Whole numbers in the file: digits only.
    for (QLineEdit *number : {DBEdit4, DBEdit8})
        number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), number));
    DBMemo3 = new QPlainTextEdit(central);
    DBMemo3->setObjectName(QStringLiteral("DBMemo3"));
    DBMemo3->installEventFilter(keys);
    layout->addWidget(Ui::label(QStringLiteral("Inffo"), central), row, 0);
    layout->addWidget(DBMemo3, row++, 1, 1, 3);

    const auto button = [central](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    DBNavigator1 = Ui::navigator(central, "DBNavigator1", NavFirst, NavPrior, NavNext, NavLast);
    layout->addWidget(DBNavigator1, row++, 0, 1, 4);
    MaskEdit1 = new Ui::MaskEdit(QStringLiteral("MaskEdit1"), central);
    MaskEdit1->setUpperCase(true);
    MaskEdit1->setMaxLength(callSignWidth);
    MaskEdit1->hide();
    layout->addWidget(MaskEdit1, row++, 1);
    Button3 = button("Button3", QStringLiteral("Add"));
    Button2 = button("Button2", QStringLiteral("Del"));
    Button5 = button("Button5", QStringLiteral("Cancel"));
    Button4 = button("Button4", QStringLiteral("Save"));
    Button1 = button("Button1", QStringLiteral("Close"));
    Button4->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {Button3, Button2, Button5, Button4, Button1})
        buttons->addWidget(b);
    layout->addLayout(buttons, row++, 0, 1, 4);

    const std::pair<QPushButton *, void (TVCD::*)()> clicks[] = {
        {Button3, &TVCD::Button3Click}, {Button2, &TVCD::Button2Click}, {Button5, &TVCD::Button5Click},
        {Button4, &TVCD::Button4Click}, {Button1, &TVCD::Button1Click},
    };
    for (const auto &[b, handler] : clicks)
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
    const std::pair<QPushButton *, void (Db::Table::*)()> moves[] = {
        {NavFirst, &Db::Table::first}, {NavPrior, &Db::Table::prior},
        {NavNext, &Db::Table::next},   {NavLast, &Db::Table::last},
    };
    for (const auto &[b, move] : moves)
        Ui::connectGuarded(b, &QPushButton::clicked, this, [this, move = move] { DBNavigator1Click(move); });
    Ui::connectGuarded(MaskEdit1, &QLineEdit::textChanged, this, [this] { MaskEdit1Change(); });
    // The fields follow the base's cursor, but never overwrite what was typed.
    Ui::connectGuarded(&DM->DataSource8, &Db::DataSource::dataChange, this, [this] {
        // Another entry shown (a look-up from the main window): what was typed
        // for the previous one is dropped, never written into this one.
        if (typed_ && !adding_ && DM->Table8.currentRowId() != typedRow_)
            typed_ = false;
        if (!typed_ && !newCall_)
            showRow();
    });
}

TVCD::~TVCD() = default;

void TVCD::showRow()
{
    Db::Table &base = DM->Table8;
    const bool row = hasRow(base);
    for (const LineField &f : lineFields)
        (this->*f.edit)->setText(row ? text(base, f.field) : QString());
    Ui::setMemoText(DBMemo3, row ? text(base, memoField) : QString());
}

void TVCD::clearFields()
{
    for (const LineField &f : lineFields)
        (this->*f.edit)->clear();
    Ui::setMemoText(DBMemo3, {});
}

void TVCD::writeFields()
{
    Db::Table &base = DM->Table8;
    for (const LineField &f : lineFields) {
        const QString typed = (this->*f.edit)->text();
        if (typed != text(base, f.field))
            base.fieldByName(QString::fromLatin1(f.field)).setAsString(typed);
    }
    if (DBMemo3->toPlainText() != text(base, memoField))
        base.fieldByName(QString::fromLatin1(memoField)).setAsString(DBMemo3->toPlainText());
}

void TVCD::saveTyped()
{
    Db::Table &base = DM->Table8;
    base.edit();
    try {
        writeFields();
        base.post();
    } catch (...) {
        // Half written: the next move of the base would post it.
        base.cancel();
        throw;
    }
}

Db::Table *TVCD::lookupCursor()
{
    if (!DM->Table8.isActive())
        return nullptr;
    // A cursor of its own: looking up never touches a pending entry.
    if (!lookup_)
        lookup_ = std::make_unique<Db::Table>(&DM->Database8, QStringLiteral("cs"));
    if (!lookup_->isActive()) {
        lookup_->open();
        lookup_->setIndexName(QStringLiteral("ByCallSign"));
    }
    return lookup_.get();
}

void TVCD::FieldKeyPress()
{
    if (!typed_)
        typedRow_ = DM->Table8.isActive() ? DM->Table8.currentRowId() : 0;
    typed_ = true;
    Button4->setEnabled(true);
}

void TVCD::DBNavigator1Click(void (Db::Table::*move)())
{
    Db::Table &base = DM->Table8;
    if (!base.isActive())
        return;
    if (typed_ && hasRow(base))
        saveTyped();
    typed_ = false;
    (base.*move)();
    // After a look-up the whole base can be browsed again.
    if (base.hasRange())
        base.cancelRange();
    showRow();
}

bool TVCD::baseConnected()
{
    // A base ticked in the settings during a run opens only at the next start.
    if (DM->Table8.isActive())
        return true;
    Ui::showWarning(QStringLiteral("VCD is not connected !"));
    return false;
}

void TVCD::Button3Click()
{
    if (!baseConnected())
        return;
    adding_ = true;
    newCall_ = false;
    DBNavigator1->setEnabled(false);
    Button4->setEnabled(true);
    DBEdit1->setReadOnly(false);
    MaskEdit1->show();
    Button3->setEnabled(false);
}

void TVCD::MaskEdit1Change()
{
    const QString call = MaskEdit1->text();
    if (!adding_ || call.size() <= 2)
        return;
    Db::Table *lookup = lookupCursor();
    if (!lookup)
        return;
    lookup->setRange(call, call);
    if (lookup->isEmpty()) {
        // A new callsign: the other fields start empty, whatever was typed
        // into them stays.
        if (!newCall_ && !typed_)
            clearFields();
        newCall_ = true;
        DBEdit1->setText(call);
        Button4->setEnabled(true);
        return;
    }
    newCall_ = false;
    typed_ = false;
    Button4->setEnabled(false);
    Db::Table &base = DM->Table8;
    const qint64 found = lookup->currentRowId();
    if (!base.moveToRowId(found)) {
        base.cancelRange();
        base.moveToRowId(found);
    }
    showRow();
}

void TVCD::Button4Click()
{
    Db::Table &base = DM->Table8;
    if (!baseConnected())
        return;
    if (adding_) {
        const QString call = MaskEdit1->text();
        if (call.size() <= 3) {
            Ui::showWarning(QStringLiteral("Not Callsign"));
            return;
        }
        if (newCall_) {
            base.append();
            try {
                writeFields();
                base.fieldByName(QStringLiteral("CallSign")).setAsString(call);
                base.post();
            } catch (...) {
                base.cancel();
                throw;
            }
        }
    } else if (typed_ && hasRow(base)) {
        saveTyped();
    }
    endEditing();
    DBNavigator1->setEnabled(true);
    DBEdit1->setReadOnly(true);
    MaskEdit1->clear();
    MaskEdit1->hide();
    Button3->setEnabled(true);
}

void TVCD::endEditing()
{
    // Nothing typed here may stay pending in the base for its next move.
    Db::Table &base = DM->Table8;
    if (base.state() == Db::Table::State::Edit || base.state() == Db::Table::State::Insert)
        base.cancel();
    adding_ = false;
    newCall_ = false;
    typed_ = false;
    showRow();
}

void TVCD::Button5Click()
{
    endEditing();
    Button4->setEnabled(false);
    DBNavigator1->setEnabled(true);
    // Emptied too: the next "Add" starts from a blank callsign.
    MaskEdit1->clear();
    MaskEdit1->hide();
    DBEdit1->setReadOnly(true);
    Button3->setEnabled(true);
}

void TVCD::Button2Click()
{
    Db::Table &base = DM->Table8;
    if (!hasRow(base))
        return;
    Button5Click();
    if (Ui::askYesNoCancel(QStringLiteral("Delete ") + text(base, "CallSign") + QStringLiteral(" ?")) ==
        Ui::Answer::Yes)
        base.deleteRecord();
    showRow();
}

void TVCD::Button1Click()
{
    MaskEdit1->hide();
    closeWindow();
}

void TVCD::FormClose()
{
    endEditing();
    DBEdit1->setReadOnly(true);
    MaskEdit1->clear();
    MaskEdit1->hide();
    Button3->setEnabled(true);
    DBNavigator1->setEnabled(true);
    Button4->setEnabled(false);
}
