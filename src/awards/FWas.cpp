#include "awards/FWas.h"

TFWas *FWas = nullptr;

TFWas::TFWas() : Ui::Window(QStringLiteral("FWas"), QStringLiteral("WAS")) {}
