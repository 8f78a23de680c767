#pragma once
// Reference window of the second user-named award.

#include "platform/ui/Window.h"

class TFDipB : public Ui::Window {
    Q_OBJECT
public:
    TFDipB();
};

extern TFDipB *FDipB;
