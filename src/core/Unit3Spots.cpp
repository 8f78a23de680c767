// The main window's side of the spot hand-over: a spot from the DX spot
// window fills band, callsign and mode, then the look-ups run as leaving the
// callsign field would, without moving the focus.

#include "core/Unit3.h"
#include "core/RecordBrowsing.h"

#include "lookups/SpotLines.h"

void TForm3::takeSpot(const QString &band, const QString &call, const QString &frequency)
{
    // A contact being edited keeps its fields; "***" is the window before any spot.
    if (RecordBrowsing::editMode(ButtonEdit->text()) || call.isEmpty() || call == QLatin1String("***"))
        return;
    ComboBoxBand->setCurrentText(band);
    // Typed one character at a time, so the country follows its first five.
    for (int n = 1; n <= 5; ++n)
        MaskEditCall->setText(call.left(n));
    MaskEditCall->setText(call);
    ComboBoxMode->setCurrentText(SpotLines::bandPlanMode(frequency));
    // A value fixed in the settings stays.
    if (MaskEditQth->isEnabled())
        MaskEditQth->clear();
    if (MaskEditName->isEnabled())
        MaskEditName->clear();
    runLookups();
    showLookupResults(false);
}
