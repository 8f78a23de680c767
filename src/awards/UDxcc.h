#pragma once
// Awards window: rebuild and worked/confirmed counts.

#include "platform/ui/Window.h"

class TAwDx : public Ui::Window {
    Q_OBJECT
public:
    TAwDx();
};

extern TAwDx *AwDx;
