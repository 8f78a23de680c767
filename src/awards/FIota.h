#pragma once
// IOTA award reference window.

#include "awards/ReferenceWindow.h"

class TFIota : public ReferenceWindow {
    Q_OBJECT
public:
    TFIota();

    Ui::MaskEdit *Edit1;
    Ui::MaskEdit *Edit2;
    Ui::MaskEdit *Edit3;
};

extern TFIota *FIota;
