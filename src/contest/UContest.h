#pragma once
// Contest settings. The controls are the settings: the save, the clock and
// the contest window read them by name.

#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHash>
#include <QSpinBox>
#include <QTimeEdit>

class TContConf : public Ui::Window {
    Q_OBJECT
public:
    TContConf();

    QComboBox *ComboBox1;  // contest name
    QSpinBox *SPoint;      // factor for every point value
    Ui::MaskEdit *EditSen; // first sent number
    QCheckBox *CheckBoxSen; // "Add to": sent numbers count up
    Ui::MaskEdit *MaskEdit1; // the step
    QCheckBox *CheckBox3;  // automatic start and end
    QDateEdit *DatePicker1;
    QTimeEdit *TimePicker1;
    QDateEdit *DatePicker2;
    QTimeEdit *TimePicker2;

    // "Point" + band token + mode suffix, e.g. "Point180s"; nullptr for
    // another name.
    QLineEdit *point(const QString &name) const;

private:
    QHash<QString, QLineEdit *> points_;
};

extern TContConf *ContConf;
