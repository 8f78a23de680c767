#include "station/UMixW.h"

#include <QFormLayout>
#include <QLineEdit>

TMixT *MixT = nullptr;

TMixT::TMixT() : Ui::Window(QStringLiteral("MixT"), QStringLiteral("MixT"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *form = new QFormLayout(central);
    Edit7 = new QLineEdit(central);
    Edit7->setObjectName(QStringLiteral("Edit7"));
    Edit8 = new QLineEdit(central);
    Edit8->setObjectName(QStringLiteral("Edit8"));
    form->addRow(QStringLiteral("Name"), Edit7);
    form->addRow(QStringLiteral("QTH"), Edit8);
}
