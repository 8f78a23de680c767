#pragma once
// The band keys and mode texts the entry fields and the settings offer.

#include <QStringList>

// "1.8" ... "50", "144", "430", "1260", "Satellite".
const QStringList &bandKeys();
// "CW", "SSB", "RTTY", "FM", ... "AM".
const QStringList &modeTexts();
