#include "awards/FDipB.h"

TFDipB *FDipB = nullptr;

TFDipB::TFDipB() : ReferenceWindow(QStringLiteral("FDipB"), QStringLiteral("Diplom 2"))
{
    Edit1 = addField("Edit1", QStringLiteral("Main"), 10, true);
    Edit2 = addField("Edit2", QStringLiteral("Info"), 8, false);
}
