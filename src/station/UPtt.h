#pragma once
// Keyer settings. The controls are the settings: the keyer reads them when it
// sends. "Cw_Conf.tnr" keeps them, with the keyer's speed, between runs.

#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"
#include "station/KeyerSettings.h"
#include "station/KeyerUpDown.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>

class TFPtt : public Ui::Window {
    Q_OBJECT
public:
    TFPtt();

    QLineEdit *Edit1;        // push-to-talk lead time, ms
    TKeyerUpDown *UpDown1;
    QCheckBox *CheckBox1;    // "RX on Buffer free"
    QLineEdit *Edit32;       // stop delay, ms
    TKeyerUpDown *UpDown2;
    QCheckBox *CheckBox2;    // "On key press"
    Ui::RadioGroupBox *RadioGroup1; // keying port
    std::array<QLineEdit *, KeyerSettings::macroCount> EditN; // "EditN1".."EditN15"
    std::array<QLineEdit *, KeyerSettings::macroCount> EditT; // "EditT1".."EditT15"
    QPushButton *Button1;    // "Apply"

    void FormCreate() override;
    void FormClose() override;
    void Button1Click();

    // What the controls hold (the speed from the keyer window).
    KeyerSettings::Settings settings() const;
    void apply(const KeyerSettings::Settings &settings);
    QString filePath() const;

private:
    // The station the default macros speak for, as the settings name it.
    static KeyerSettings::Station ownStation();
};

extern TFPtt *FPtt;
