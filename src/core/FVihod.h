#pragma once
// Exit-time options, read by the main clock.

#include "platform/ui/Window.h"

class TFVihod : public Ui::Window {
    Q_OBJECT
public:
    TFVihod();
};

extern TFVihod *FVihod;
