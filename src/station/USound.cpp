#include "station/USound.h"

TSoundR *SoundR = nullptr;

TSoundR::TSoundR() : Ui::Window(QStringLiteral("SoundR"), QStringLiteral("Player")) {}
