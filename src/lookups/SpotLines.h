#pragma once
// Rules of the DX spot list: cutting one text line of the spot page into its
// fields, the band of a spot's frequency and the mode its frequency suggests.

#include <QString>

namespace SpotLines {

struct Spot {
    QString spotter;
    QString frequency; // kHz, as on the page
    QString dx;
    QString comment;
    QString time;
    QString date;
};

// Cuts a line blank by blank: spotter, frequency, DX, comment, time, date. A
// line with too few fields gives empty or short fields; it never fails.
Spot parse(const QString &line);

// The band key of a frequency text in kHz ("14025.0" gives "14", "1825.0"
// gives "1.8"); a text outside every band, or not a number, is given back.
QString bandKey(const QString &frequency);

// The mode the band plan gives a frequency text in kHz: the whole kilohertz
// before its first "."; "SSB" without a "." or outside every plan row.
QString bandPlanMode(const QString &frequency);

} // namespace SpotLines
