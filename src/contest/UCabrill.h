#pragma once
// Cabrillo export.

#include "platform/ui/Window.h"

class TFCabrillo : public Ui::Window {
    Q_OBJECT
public:
    TFCabrillo();
};

extern TFCabrillo *FCabrillo;
