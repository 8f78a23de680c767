#pragma once
// The award reference of a contact between the log and the four reference
// windows.

#include "awards/AwardReference.h"

// Which windows record browsing may show (the settings' boxes).
struct ReferenceSettings {
    bool iota = false;
    bool was = false;
    bool awardA = false;
    bool awardB = false;
};

// What the four windows hold now.
AwardReference::Fields referenceFields();
// The text a save stores in LogOther ("" when no window is filled).
QString encodeReferenceWindows();
// Shows the reference of a browsed contact: in the order IOTA, WAS, award 2,
// award 1, the window of its kind is shown and filled when its setting is on;
// every other window is closed (and so emptied). After a window is shown the
// main window comes back to the front, unless start-up has not activated it yet.
void showAwardReference(const QString &logOther, const ReferenceSettings &settings);
