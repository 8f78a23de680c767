#include "awards/FIota.h"

TFIota *FIota = nullptr;

TFIota::TFIota() : ReferenceWindow(QStringLiteral("FIota"), QStringLiteral("IOTA"))
{
    Edit1 = addField("Edit1", QStringLiteral("Lett"), 3, true);
    addText(QStringLiteral("-"));
    Edit2 = addField("Edit2", QStringLiteral("Number"), 4, true);
    Edit3 = addField("Edit3", QStringLiteral("Island"), 10, false);
}
