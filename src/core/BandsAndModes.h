#pragma once
// The bands and modes the program knows: one list that the entry fields, the
// settings, the save, the award cells and the contest settings all take their
// band names from.

#include <QLatin1StringView>
#include <QStringList>
#include <QStringView>
#include <span>

struct Band {
    QLatin1StringView key;       // as the log stores it: "1.8" ... "1260", "Satellite"
    QLatin1StringView token;     // in contest point field names: "18", "35", ..., "180" (18 MHz), "Sat"
    QLatin1StringView awardCell; // award table column; empty for bands without one (144, 430, 1260)
    QLatin1StringView awardMode; // what the award's band-and-mode columns begin with
};

// In the order the lists show them.
std::span<const Band> bands();
// The band of a key (exact); nothing for any other text.
const Band *findBand(QStringView key);

// "1.8" ... "50", "144", "430", "1260", "Satellite".
const QStringList &bandKeys();
// "CW", "SSB", "RTTY", "FM", ... "AM".
const QStringList &modeTexts();
