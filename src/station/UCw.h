#pragma once
// Morse keyer.

#include "platform/ui/Window.h"

class TFCW : public Ui::Window {
    Q_OBJECT
public:
    TFCW();
};

extern TFCW *FCW;
