#include "station/FUpdate.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Guard.h"
#include "station/UMixW.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFUpdate *FUpdate = nullptr;

TFUpdate::TFUpdate() : Ui::Window(QStringLiteral("FUpdate"), QStringLiteral("Update"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    auto *row = new QHBoxLayout;
    layout->addLayout(row);
    Edit1 = new QLineEdit(QStringLiteral("20"), central);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    UpDown1 = new QSpinBox(central);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(5, 120);
    UpDown1->setSingleStep(10);
    UpDown1->setValue(20);
    // Only its arrows: the number stands in Edit1.
    UpDown1->setFixedWidth(UpDown1->sizeHint().height());
    row->addWidget(Edit1);
    row->addWidget(UpDown1);
    row->addWidget(Ui::label(QStringLiteral("Sec"), central));
    layout->addWidget(Ui::label(QStringLiteral("10-120 sec"), central));
    Ui::connectGuarded(UpDown1, &QSpinBox::valueChanged, this, [this](int value) { Edit1->setText(QString::number(value)); });
    Ui::connectGuarded(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
}

void TFUpdate::Edit1Change()
{
    MixT->Timer1->setInterval(Edit1->text().toInt() * 1000);
}

void TFUpdate::FormClose()
{
    // Polling again, and the menu says so.
    MixT->StartUpdate1Click();
}
