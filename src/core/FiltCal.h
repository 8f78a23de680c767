#pragma once
// Call filter window.

#include "platform/ui/Window.h"

class TFiltCal : public Ui::Window {
    Q_OBJECT
public:
    TFiltCal();
};

extern TFiltCal *FiltCal;
