#include "awards/UAdPref.h"

#include "awards/PrefixEdits.h"
#include "core/Unit2.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TAddPref *AddPref = nullptr;

TAddPref::TAddPref() : Ui::Window(QStringLiteral("AddPref"), QStringLiteral("Add Prefix"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QGridLayout(central);
    int row = 0;
    // Caption, maximum length, upper case, Qt mask (its blank a space), example
    // text; an example fills every position of its mask, so it reads as typed.
    const auto field = [&](const char *name, const QString &caption, int length, bool upper, const QString &mask,
                           const QString &example) {
        auto *edit = new Ui::MaskEdit(QString::fromLatin1(name), central);
        if (mask.isEmpty()) {
            edit->setMaxLength(length);
            edit->setUpperCase(upper);
        } else {
            edit->setInputMask(mask);
        }
        edit->setText(example);
        layout->addWidget(Ui::label(caption, central), row, 0);
        layout->addWidget(edit, row++, 1);
        return edit;
    };
    MaskEdit1 = field("MaskEdit1", QStringLiteral("DXCC Prefix"), 5, true, {}, QStringLiteral("UR"));
    MaskEdit2 = field("MaskEdit2", QStringLiteral("Prefix"), 5, true, {}, QStringLiteral("UR"));
    MaskEdit3 = field("MaskEdit3", QStringLiteral("All Prefix"), 5, true, {}, QStringLiteral("UT"));
    MaskEdit4 = field("MaskEdit4", QStringLiteral("Country"), 35, false, {}, QStringLiteral("Ukraine"));
    MaskEdit5 = field("MaskEdit5", QStringLiteral("Cont"), 2, false, {}, QStringLiteral("EU"));
    MaskEdit6 = field("MaskEdit6", QStringLiteral("ITU Zone"), 2, false, QStringLiteral("00; "), QStringLiteral("29"));
    MaskEdit7 = field("MaskEdit7", QStringLiteral("CQ Zone"), 2, false, QStringLiteral("00; "), QStringLiteral("16"));
    MaskEdit8 = field("MaskEdit8", QStringLiteral("Time"), 3, false, QStringLiteral("#00; "), QStringLiteral("+02"));
    MaskEdit9 = field("MaskEdit9", QStringLiteral("Latitude"), 5, false, QStringLiteral("#00,0; "),
                      QStringLiteral("+50,5"));
    MaskEdit10 = field("MaskEdit10", QStringLiteral("Longtit"), 5, false, QStringLiteral("#00,0; "),
                       QStringLiteral("-30,5"));
    Label11 = Ui::label(QString(), central);
    Label11->setObjectName(QStringLiteral("Label11"));
    QFont bold = Label11->font();
    bold.setBold(true);
    Label11->setFont(bold);
    layout->addWidget(Label11, row++, 0, 1, 2);
    Button1 = new QPushButton(QStringLiteral("Save"), central);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Close"), central);
    Button2->setObjectName(QStringLiteral("Button2"));
    layout->addWidget(Button1, row, 0);
    layout->addWidget(Button2, row, 1);
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TAddPref::Button1Click()
{
    // Masked fields are read as shown: blanks as spaces, the comma kept.
    const PrefixEdits::Entry entry{MaskEdit1->text(),        MaskEdit2->text(),        MaskEdit3->text(),
                                   MaskEdit4->text(),        MaskEdit5->text(),        MaskEdit6->displayText(),
                                   MaskEdit7->displayText(), MaskEdit8->displayText(), MaskEdit9->displayText(),
                                   MaskEdit10->displayText()};
    const std::optional<PrefixEdits::Checked> checked = PrefixEdits::check(entry);
    if (!checked) {
        Ui::showWarning(PrefixEdits::missingText());
        return;
    }
    Label11->clear();
    PrefixEdits::Existing existing;
    try {
        existing = PrefixEdits::add(*checked, DM->Table2, DM->Table3, DM->Table4);
    } catch (...) {
        // The callsign entry needs both prefix tables open, whatever failed.
        Ui::runGuarded([] {
            if (!DM->Table2.isActive())
                DM->Table2.open();
            if (!DM->Table3.isActive())
                DM->Table3.open();
        });
        throw;
    }
    Label11->setText(PrefixEdits::resultLine(*checked, existing));
}

void TAddPref::Button2Click()
{
    closeWindow();
}

void TAddPref::FormClose()
{
    // The awards window shows whole tables again.
    DM->Table3.close();
    if (DM->Table4.isActive())
        DM->Table4.first();
}
