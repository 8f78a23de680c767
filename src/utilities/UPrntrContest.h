#pragma once
// Printed contest log.

#include "platform/ui/Window.h"

class TFPrintContest : public Ui::Window {
    Q_OBJECT
public:
    TFPrintContest();
};

extern TFPrintContest *FPrintContest;
