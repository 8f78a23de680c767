#pragma once
// Exit-time options, read by the main clock.

#include "platform/ui/Window.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTimeEdit>

class TFVihod : public Ui::Window {
    Q_OBJECT
public:
    TFVihod();

    QCheckBox *CheckBox1;       // "Enable"
    QTimeEdit *DateTimePicker1; // the exit time
    // RadioGroup1 "Close": item 0 "Tarnel" (close the program), 1 "Windows".
    QRadioButton *RadioTarnel;
    QRadioButton *RadioWindows;
    int radioGroup1Index() const { return RadioWindows->isChecked() ? 1 : 0; }
};

extern TFVihod *FVihod;
