#pragma once
// Prefix editor: adding a prefix.

#include "platform/ui/Window.h"

class TAddPref : public Ui::Window {
    Q_OBJECT
public:
    TAddPref();
};

extern TAddPref *AddPref;
