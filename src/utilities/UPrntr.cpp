#include "utilities/UPrntr.h"

TFPrntr *FPrntr = nullptr;

TFPrntr::TFPrntr() : Ui::Window(QStringLiteral("FPrntr"), QStringLiteral("FPrntr")) {}
