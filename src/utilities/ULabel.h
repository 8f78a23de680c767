#pragma once
// QSL label layout.

#include "platform/ui/Window.h"

class TFlabel : public Ui::Window {
    Q_OBJECT
public:
    TFlabel();
};

extern TFlabel *Flabel;
