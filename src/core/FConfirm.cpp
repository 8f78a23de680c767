#include "core/FConfirm.h"

#include "core/Unit3.h"
#include "platform/ui/Guard.h"
#include "station/UMixW.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFConfirm *FConfirm = nullptr;

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

TFConfirm::TFConfirm() : Ui::Window(QStringLiteral("FConfirm"), QStringLiteral("Change"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    Edit1 = new QLineEdit(central);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(central);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    GroupBox1 = new QGroupBox(QStringLiteral("Confirm change"), central);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Button1 = button(GroupBox1, "Button1", QStringLiteral("Name"));
    Button2 = button(GroupBox1, "Button2", QStringLiteral("QTH"));
    Button4 = button(GroupBox1, "Button4", QStringLiteral("All"));
    Button3 = button(central, "Button3", QStringLiteral("Close"));
    auto *group = new QHBoxLayout(GroupBox1);
    for (QPushButton *b : {Button1, Button2, Button4})
        group->addWidget(b);
    auto *layout = new QGridLayout(central);
    layout->addWidget(Edit1, 0, 0);
    layout->addWidget(Edit2, 0, 1);
    layout->addWidget(GroupBox1, 1, 0, 1, 2);
    layout->addWidget(Button3, 2, 1);
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    Ui::connectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    Ui::connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

// Each confirmed value also goes to the MixW window's field that feeds the
// same entry field, so a contact taken over from MixW keeps it.
void TFConfirm::Button1Click()
{
    Form3->MaskEditName->setText(Edit1->text());
    MixT->Edit7->setText(Edit1->text());
    closeWindow();
}

void TFConfirm::Button2Click()
{
    Form3->MaskEditQth->setText(Edit2->text());
    MixT->Edit8->setText(Edit2->text());
    closeWindow();
}

void TFConfirm::Button4Click()
{
    Form3->MaskEditName->setText(Edit1->text());
    MixT->Edit7->setText(Edit1->text());
    Form3->MaskEditQth->setText(Edit2->text());
    MixT->Edit8->setText(Edit2->text());
    closeWindow();
}

void TFConfirm::Button3Click()
{
    closeWindow();
}
