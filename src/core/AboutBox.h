#pragma once
// About window.

#include "platform/ui/Window.h"

class TAboutBox : public Ui::Window {
    Q_OBJECT
public:
    TAboutBox();
};

extern TAboutBox *AboutBox;
