#pragma once
// QSL label printing.

#include "platform/ui/Window.h"

class TFLabPrint : public Ui::Window {
    Q_OBJECT
public:
    TFLabPrint();
};

extern TFLabPrint *FLabPrint;
