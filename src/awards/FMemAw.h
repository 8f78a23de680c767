#pragma once
// Award report text.

#include "platform/ui/Window.h"

class TFMemAw : public Ui::Window {
    Q_OBJECT
public:
    TFMemAw();
};

extern TFMemAw *FMemAw;
