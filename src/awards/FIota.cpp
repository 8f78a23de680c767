#include "awards/FIota.h"

TFIota *FIota = nullptr;

TFIota::TFIota() : Ui::Window(QStringLiteral("FIota"), QStringLiteral("IOTA")) {}
