#pragma once
// External base of correspondents.

#include "platform/ui/Window.h"

class TVCD : public Ui::Window {
    Q_OBJECT
public:
    TVCD();
};

extern TVCD *VCD;
