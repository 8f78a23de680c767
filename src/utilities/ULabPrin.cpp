#include "utilities/ULabPrin.h"

TFLabPrint *FLabPrint = nullptr;

TFLabPrint::TFLabPrint() : Ui::Window(QStringLiteral("FLabPrint"), QStringLiteral("Print QSL label")) {}
