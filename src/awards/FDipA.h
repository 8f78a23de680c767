#pragma once
// Reference window of the first user-named award.

#include "platform/ui/Window.h"

class TFDipA : public Ui::Window {
    Q_OBJECT
public:
    TFDipA();
};

extern TFDipA *FDipA;
