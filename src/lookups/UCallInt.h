#pragma once
// Web callbook look-up.

#include "platform/ui/Window.h"

class TQRZ : public Ui::Window {
    Q_OBJECT
public:
    TQRZ();
};

extern TQRZ *QRZ;
