#pragma once
// Printed log: the log as a report with preview, in the print font that
// "Print Setup" chooses (both printed logs use it).

#include "platform/ui/Dialogs.h"
#include "platform/ui/Window.h"

class TFPrntr : public Ui::Window {
    Q_OBJECT
public:
    TFPrntr();

    Ui::FontDialog FontDialog1; // the print font

    // Shows the report titled "Log " + `callsign` with the log grid detached.
    void QuickRep1Preview(const QString &callsign);
    // The preview has closed: the log grid is attached again.
    void QuickRep1AfterPreview();
};

extern TFPrntr *FPrntr;
