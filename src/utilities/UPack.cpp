#include "utilities/UPack.h"

TFUtil *FUtil = nullptr;

TFUtil::TFUtil() : Ui::Window(QStringLiteral("FUtil"), QStringLiteral("Utilite")) {}
