#include "awards/FDipA.h"

TFDipA *FDipA = nullptr;

TFDipA::TFDipA() : ReferenceWindow(QStringLiteral("FDipA"), QStringLiteral("Diplom 1"))
{
    Edit1 = addField("Edit1", QStringLiteral("Main"), 10, true);
    Edit2 = addField("Edit2", QStringLiteral("Info"), 8, false);
}
