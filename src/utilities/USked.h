#pragma once
// Schedules.

#include "platform/ui/Window.h"

class TFSkeds : public Ui::Window {
    Q_OBJECT
public:
    TFSkeds();
};

extern TFSkeds *FSkeds;
