#include "lookups/UVCD.h"

TVCD *VCD = nullptr;

TVCD::TVCD() : Ui::Window(QStringLiteral("VCD"), QStringLiteral("VCD")) {}
