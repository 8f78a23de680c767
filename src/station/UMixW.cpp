#include "station/UMixW.h"

TMixT *MixT = nullptr;

TMixT::TMixT() : Ui::Window(QStringLiteral("MixT"), QStringLiteral("MixT")) {}
