#include "contest/UCabrill.h"

TFCabrillo *FCabrillo = nullptr;

TFCabrillo::TFCabrillo() : Ui::Window(QStringLiteral("FCabrillo"), QStringLiteral("Cabrillo")) {}
