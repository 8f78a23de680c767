#pragma once
// WAS award reference window.

#include "awards/ReferenceWindow.h"

class TFWas : public ReferenceWindow {
    Q_OBJECT
public:
    TFWas();

    Ui::MaskEdit *Edit1;
    Ui::MaskEdit *Edit2;
};

extern TFWas *FWas;
