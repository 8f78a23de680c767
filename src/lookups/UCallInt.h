#pragma once
// Web callbook look-up.

#include "platform/ui/Window.h"

#include <QLineEdit>

class TQRZ : public Ui::Window {
    Q_OBJECT
public:
    TQRZ();

    QLineEdit *Edit1; // the callsign being entered in the main window
};

extern TQRZ *QRZ;
