#pragma once
// Reference window of the second user-named award.

#include "awards/ReferenceWindow.h"

class TFDipB : public ReferenceWindow {
    Q_OBJECT
public:
    TFDipB();

    Ui::MaskEdit *Edit1;
    Ui::MaskEdit *Edit2;
};

extern TFDipB *FDipB;
