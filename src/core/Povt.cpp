#include "core/Povt.h"

TPovt *Povt = nullptr;

TPovt::TPovt() : Ui::Window(QStringLiteral("Povt"), QStringLiteral("Tarnel")) {}
