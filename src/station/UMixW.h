#pragma once
// Link to the MixW log file.

#include "platform/ui/Window.h"

class QLineEdit;

class TMixT : public Ui::Window {
    Q_OBJECT
public:
    TMixT();

    QLineEdit *Edit7; // name of the contact taken over; feeds the entry's name
    QLineEdit *Edit8; // its QTH; feeds the entry's QTH
};

extern TMixT *MixT;
