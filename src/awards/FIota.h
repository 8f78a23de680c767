#pragma once
// IOTA award reference window.

#include "platform/ui/Window.h"

class TFIota : public Ui::Window {
    Q_OBJECT
public:
    TFIota();
};

extern TFIota *FIota;
