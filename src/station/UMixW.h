#pragma once
// Link to the MixW log file.

#include "platform/ui/Window.h"

class TMixT : public Ui::Window {
    Q_OBJECT
public:
    TMixT();
};

extern TMixT *MixT;
