#include "lookups/UCallInt.h"

#include <QVBoxLayout>

TQRZ *QRZ = nullptr;

TQRZ::TQRZ() : Ui::Window(QStringLiteral("QRZ"), QStringLiteral("Callbook"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    Edit1 = new QLineEdit(central);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    layout->addWidget(Edit1);
}
