#pragma once
// Voice recorder and player.

#include "platform/ui/Window.h"

class TSoundR : public Ui::Window {
    Q_OBJECT
public:
    TSoundR();
};

extern TSoundR *SoundR;
