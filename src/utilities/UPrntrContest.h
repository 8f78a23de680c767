#pragma once
// Printed contest log: every contact of the log with its contest numbers, as
// a report with preview, in the printed log's print font.

#include "platform/ui/Window.h"

class TFPrintContest : public Ui::Window {
    Q_OBJECT
public:
    TFPrintContest();

    // Shows the report titled `contestName` with the log grid detached.
    void QuickRep1Preview(const QString &contestName);
    // The preview has closed: the log grid is attached again.
    void QuickRep1AfterPreview();
};

extern TFPrintContest *FPrintContest;
