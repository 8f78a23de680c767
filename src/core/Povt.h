#pragma once
// Repeat window: earlier contacts with the entered callsign.

#include "platform/ui/Window.h"

class TPovt : public Ui::Window {
    Q_OBJECT
public:
    TPovt();
};

extern TPovt *Povt;
