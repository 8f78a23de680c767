#pragma once
// Contest settings.

#include "platform/ui/Window.h"

class TContConf : public Ui::Window {
    Q_OBJECT
public:
    TContConf();
};

extern TContConf *ContConf;
