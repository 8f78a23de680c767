#include "utilities/ULabel.h"

TFlabel *Flabel = nullptr;

TFlabel::TFlabel() : Ui::Window(QStringLiteral("Flabel"), QStringLiteral("QSL label")) {}
