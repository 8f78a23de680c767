#pragma once
// The settings window. Other windows read its controls by name.

#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

#include <QCheckBox>
#include <QTabWidget>

class TConfig : public Ui::Window {
    Q_OBJECT
public:
    TConfig();

    QTabWidget *PageControl;
    QCheckBox *CheckBoxVCD; // external base enabled
    Ui::MaskEdit *EditVCD;  // its directory

    void FormActivate() override;
};

// The external base's directory until the settings name another.
QString defaultVcdDirectory();

extern TConfig *Config;
