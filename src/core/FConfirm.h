#pragma once
// Offers a found name or QTH back when it differs from the entry.

#include "platform/ui/Window.h"

class TFConfirm : public Ui::Window {
    Q_OBJECT
public:
    TFConfirm();
};

extern TFConfirm *FConfirm;
