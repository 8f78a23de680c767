#include "awards/FDipA.h"

TFDipA *FDipA = nullptr;

TFDipA::TFDipA() : Ui::Window(QStringLiteral("FDipA"), QStringLiteral("Diplom 1")) {}
