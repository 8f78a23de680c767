#include "station/FUpdate.h"

TFUpdate *FUpdate = nullptr;

TFUpdate::TFUpdate() : Ui::Window(QStringLiteral("FUpdate"), QStringLiteral("Update")) {}
