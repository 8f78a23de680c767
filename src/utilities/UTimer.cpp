#include "utilities/UTimer.h"

TFoTimer *FoTimer = nullptr;

TFoTimer::TFoTimer() : Ui::Window(QStringLiteral("FoTimer"), QStringLiteral("SoundTimer")) {}
