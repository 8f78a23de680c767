#pragma once
// Log filter window: marks every contact as passing or not and shows only
// the passing ones.

#include "core/LogFilter.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>

class TFilter : public Ui::Window {
    Q_OBJECT
public:
    TFilter();

    QCheckBox *CheckBoxC, *CheckBoxP, *CheckBoxD, *CheckBoxT, *CheckBoxB, *CheckBoxM, *CheckBoxN, *CheckBoxL,
        *CheckBoxRR, *CheckBoxTR, *CheckBoxQS, *CheckBoxQR;
    Ui::MaskEdit *EditC, *EditP, *EditN, *EditL, *MaskEditRR, *MaskEditTR;
    QDateEdit *DateTimePickerD, *DateTimePickerD2;
    QTimeEdit *DateTimePickerT, *DateTimePickerT2;
    QComboBox *ComboBoxB, *ComboBoxM;
    QPushButton *ButtonO, *ButtonC, *Button1;

    void FormCreate() override;
    void FormActivate() override;
    void ButtonOClick();
    void ButtonCClick();
    void Button1Click() { closeWindow(); }

    // The ticked criteria with their values.
    LogFilter::Criteria criteria() const;
};

extern TFilter *Filter;
