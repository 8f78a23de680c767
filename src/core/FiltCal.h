#pragma once
// Call filter window: while the operator types, the log shows only the
// contacts whose callsign begins with the text.

#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

class TFiltCal : public Ui::Window {
    Q_OBJECT
public:
    TFiltCal();

    Ui::MaskEdit *Edit1;

    void FormActivate() override { Edit1->setFocus(); }
    void FormClose() override;
    void Edit1Change();
};

extern TFiltCal *FiltCal;
