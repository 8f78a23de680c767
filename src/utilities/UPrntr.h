#pragma once
// Printed log.

#include "platform/ui/Window.h"

class TFPrntr : public Ui::Window {
    Q_OBJECT
public:
    TFPrntr();
};

extern TFPrntr *FPrntr;
