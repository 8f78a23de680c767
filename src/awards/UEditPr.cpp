#include "awards/UEditPr.h"

#include "awards/PrefixEdits.h"
#include "core/Unit2.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TFormEditPref *FormEditPref = nullptr;

namespace {

struct Bound {
    QLineEdit *TFormEditPref::*edit;
    const char *field;
    bool editable;
};

// The Prefix fields and their edits; AddPrefix comes from Allpref.
const Bound prefixFields[] = {
    {&TFormEditPref::DBEdit2, "DXCCPrefix", false}, {&TFormEditPref::DBEdit1, "Prefix", false},
    {&TFormEditPref::DBEdit3, "Country", true},     {&TFormEditPref::DBEdit4, "Continent", true},
    {&TFormEditPref::DBEdit8, "ITUZone", true},     {&TFormEditPref::DBEdit9, "CQZone", true},
    {&TFormEditPref::DBEdit5, "TimeDiff", true},    {&TFormEditPref::DBEdit6, "Latitude", true},
    {&TFormEditPref::DBEdit7, "Longitude", true},
};

bool hasRow(const Db::Table &t)
{
    return t.isActive() && !t.isEmpty();
}

} // namespace

TFormEditPref::TFormEditPref() : Ui::Window(QStringLiteral("FormEditPref"), QStringLiteral("Edit Prefix"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QGridLayout(central);
    int row = 0;
    const auto button = [central](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    const auto edit = [&](const char *name, const QString &caption, bool editable, QPushButton *del = nullptr) {
        auto *e = new QLineEdit(central);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(!editable);
        layout->addWidget(Ui::label(caption, central), row, 0);
        layout->addWidget(e, row, 1);
        if (del)
            layout->addWidget(del, row, 2);
        ++row;
        return e;
    };
    Button5 = button("Button5", QStringLiteral("Del"));
    Button1 = button("Button1", QStringLiteral("Del"));
    Button2 = button("Button2", QStringLiteral("Del"));
    DBEdit2 = edit("DBEdit2", QStringLiteral("DXCC Prefix"), false, Button5);
    DBEdit1 = edit("DBEdit1", QStringLiteral("Prefix"), false, Button1);
    DBEdit3 = edit("DBEdit3", QStringLiteral("Country"), true);
    DBEdit4 = edit("DBEdit4", QStringLiteral("Cont"), true);
    DBEdit10 = edit("DBEdit10", QStringLiteral("All Prefix"), false, Button2);
    DBEdit8 = edit("DBEdit8", QStringLiteral("ITU Zone"), true);
    DBEdit9 = edit("DBEdit9", QStringLiteral("CQ Zone"), true);
    DBEdit5 = edit("DBEdit5", QStringLiteral("Time"), true);
    DBEdit6 = edit("DBEdit6", QStringLiteral("Latitude"), true);
    DBEdit7 = edit("DBEdit7", QStringLiteral("Longtit"), true);

    DBNavigator1 = Ui::navigator(central, "DBNavigator1", NavFirst, NavPrior, NavNext, NavLast);
    layout->addWidget(DBNavigator1, row++, 0, 1, 3);

    MaskEdit1 = new Ui::MaskEdit(QStringLiteral("MaskEdit1"), central);
    MaskEdit1->setUpperCase(true);
    layout->addWidget(Ui::label(QStringLiteral("Find Pref"), central), row, 0);
    layout->addWidget(MaskEdit1, row++, 1);
    Button3 = button("Button3", QStringLiteral("Save"));
    Button4 = button("Button4", QStringLiteral("Close"));
    layout->addWidget(Button3, row, 0);
    layout->addWidget(Button4, row, 1);

    Ui::connectGuarded(MaskEdit1, &QLineEdit::textChanged, this, [this] { MaskEdit1Change(); });
    Ui::connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    Ui::connectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    Ui::connectGuarded(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    const auto move = [this](void (Db::Table::*step)()) {
        postPending();
        (DM->Table2.*step)();
    };
    Ui::connectGuarded(NavFirst, &QPushButton::clicked, this, [move] { move(&Db::Table::first); });
    Ui::connectGuarded(NavPrior, &QPushButton::clicked, this, [move] { move(&Db::Table::prior); });
    Ui::connectGuarded(NavNext, &QPushButton::clicked, this, [move] { move(&Db::Table::next); });
    Ui::connectGuarded(NavLast, &QPushButton::clicked, this, [move] { move(&Db::Table::last); });
    // The edits follow the rows while the dialog is up; hidden, it costs the
    // callsign entry nothing.
    for (Db::DataSource *source : {&DM->DataSource2, &DM->DataSource3})
        Ui::connectGuarded(source, &Db::DataSource::dataChange, this, [this] {
            if (isVisible())
                showRow();
        });
}

void TFormEditPref::showRow()
{
    DBEdit10->setText(hasRow(DM->Table2) ? DM->Table2.fieldByName(QStringLiteral("AddPrefix")).asString() : QString());
    const bool prefix = hasRow(DM->Table3);
    for (const Bound &b : prefixFields)
        (this->*b.edit)->setText(prefix ? DM->Table3.fieldByName(QString::fromLatin1(b.field)).asString() : QString());
}

void TFormEditPref::postPending()
{
    Db::Table &t = DM->Table3;
    if (!hasRow(t))
        return;
    QList<const Bound *> changed;
    for (const Bound &b : prefixFields)
        if (b.editable && (this->*b.edit)->text() != t.fieldByName(QString::fromLatin1(b.field)).asString())
            changed << &b;
    if (changed.isEmpty())
        return;
    t.edit();
    try {
        for (const Bound *b : std::as_const(changed))
            t.fieldByName(QString::fromLatin1(b->field)).setAsString((this->*b->edit)->text());
        t.post();
    } catch (...) {
        t.cancel();
        throw;
    }
}

void TFormEditPref::MaskEdit1Change()
{
    postPending();
    if (DM->Table2.isActive())
        DM->Table2.locate(QStringLiteral("AddPrefix"), MaskEdit1->text());
}

void TFormEditPref::Button3Click()
{
    postPending();
    showRow();
}

void TFormEditPref::Button4Click()
{
    closeWindow();
}

void TFormEditPref::remove(PrefixEdits::Depth d)
{
    if (Ui::askYesNoCancel(PrefixEdits::deleteQuestion(d)) != Ui::Answer::Yes)
        return;
    PrefixEdits::remove(d, DM->Table2, DM->Table3, DM->Table4);
    showRow();
}

void TFormEditPref::Button5Click()
{
    remove(PrefixEdits::Depth::Dxcc);
}

void TFormEditPref::Button1Click()
{
    remove(PrefixEdits::Depth::Prefix);
}

void TFormEditPref::Button2Click()
{
    remove(PrefixEdits::Depth::AddPrefix);
}

void TFormEditPref::FormShow()
{
    showRow();
}

void TFormEditPref::FormClose()
{
    // The awards window shows whole tables again.
    DM->Table3.close();
    if (DM->Table4.isActive())
        DM->Table4.first();
}
