#include "utilities/USked.h"

TFSkeds *FSkeds = nullptr;

TFSkeds::TFSkeds() : Ui::Window(QStringLiteral("FSkeds"), QStringLiteral("Skeds")) {}
