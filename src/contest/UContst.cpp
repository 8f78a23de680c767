#include "contest/UContst.h"

#include <QFormLayout>

TCont *Cont = nullptr;

TCont::TCont() : Ui::Window(QStringLiteral("Cont"), QStringLiteral("Info"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *form = new QFormLayout(central);
    Label2 = new QLabel(QStringLiteral("0"), central);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label5 = new QLabel(QStringLiteral("0"), central);
    Label5->setObjectName(QStringLiteral("Label5"));
    form->addRow(QStringLiteral("QSO"), Label2);
    form->addRow(QStringLiteral("Points"), Label5);
}
