#pragma once
// Prefix editor: adding a prefix, its main prefix and DXCC entity in one step.

#include "platform/ui/Window.h"

class QLabel;
class QPushButton;
namespace Ui {
class MaskEdit;
}

class TAddPref : public Ui::Window {
    Q_OBJECT
public:
    TAddPref();

    Ui::MaskEdit *MaskEdit1, *MaskEdit2, *MaskEdit3, *MaskEdit4, *MaskEdit5, *MaskEdit6, *MaskEdit7, *MaskEdit8,
        *MaskEdit9, *MaskEdit10;
    QLabel *Label11;
    QPushButton *Button1, *Button2;

    void Button1Click(); // "Save"
    void Button2Click(); // "Close"
    void FormClose() override;
};

extern TAddPref *AddPref;
