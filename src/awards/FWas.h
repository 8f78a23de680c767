#pragma once
// WAS award reference window.

#include "platform/ui/Window.h"

class TFWas : public Ui::Window {
    Q_OBJECT
public:
    TFWas();
};

extern TFWas *FWas;
