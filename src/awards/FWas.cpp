#include "awards/FWas.h"

TFWas *FWas = nullptr;

TFWas::TFWas() : ReferenceWindow(QStringLiteral("FWas"), QStringLiteral("WAS"))
{
    Edit1 = addField("Edit1", QStringLiteral("State"), 5, true);
    Edit2 = addField("Edit2", QStringLiteral("Info"), 13, false);
}
