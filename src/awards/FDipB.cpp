#include "awards/FDipB.h"

TFDipB *FDipB = nullptr;

TFDipB::TFDipB() : Ui::Window(QStringLiteral("FDipB"), QStringLiteral("Diplom 2")) {}
