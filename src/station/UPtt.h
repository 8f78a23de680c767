#pragma once
// Keyer settings.

#include "platform/ui/Window.h"

class TFPtt : public Ui::Window {
    Q_OBJECT
public:
    TFPtt();
};

extern TFPtt *FPtt;
