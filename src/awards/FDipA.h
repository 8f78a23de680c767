#pragma once
// Reference window of the first user-named award.

#include "awards/ReferenceWindow.h"

class TFDipA : public ReferenceWindow {
    Q_OBJECT
public:
    TFDipA();

    Ui::MaskEdit *Edit1;
    Ui::MaskEdit *Edit2;
};

extern TFDipA *FDipA;
