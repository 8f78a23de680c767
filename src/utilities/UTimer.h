#pragma once
// Alarms and timed recordings.

#include "platform/ui/Window.h"

class TFoTimer : public Ui::Window {
    Q_OBJECT
public:
    TFoTimer();
};

extern TFoTimer *FoTimer;
