#include "core/FVihod.h"

TFVihod *FVihod = nullptr;

TFVihod::TFVihod() : Ui::Window(QStringLiteral("FVihod"), QStringLiteral("Exit")) {}
