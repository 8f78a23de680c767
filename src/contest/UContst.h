#pragma once
// Contest window.

#include "platform/ui/Window.h"

#include <QLabel>

class TCont : public Ui::Window {
    Q_OBJECT
public:
    TCont();

    QLabel *Label2; // earlier contacts whose callsign begins with the typed text
    QLabel *Label5; // running points total
};

extern TCont *Cont;
