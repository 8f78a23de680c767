#include "station/UPtt.h"

TFPtt *FPtt = nullptr;

TFPtt::TFPtt() : Ui::Window(QStringLiteral("FPtt"), QStringLiteral("Config")) {}
