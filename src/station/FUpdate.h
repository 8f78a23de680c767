#pragma once
// Poll interval of the MixW link.

#include "platform/ui/Window.h"

class TFUpdate : public Ui::Window {
    Q_OBJECT
public:
    TFUpdate();
};

extern TFUpdate *FUpdate;
