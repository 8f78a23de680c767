#pragma once
// Table rebuild.

#include "platform/ui/Window.h"

class TFUtil : public Ui::Window {
    Q_OBJECT
public:
    TFUtil();
};

extern TFUtil *FUtil;
