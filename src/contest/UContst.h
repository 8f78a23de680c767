#pragma once
// Contest window.

#include "platform/ui/Window.h"

class TCont : public Ui::Window {
    Q_OBJECT
public:
    TCont();
};

extern TCont *Cont;
