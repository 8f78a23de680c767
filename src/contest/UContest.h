#pragma once
// Contest settings. The controls are the settings: the save, the clock and
// the contest window read them by name. "Contest.ini" keeps them from one
// run to the next; ".tst" files hold them for the operator.

#include "platform/ui/Controls.h"
#include "platform/ui/Window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

namespace ContestFile {
struct Reading;
struct Settings;
}

// A pair of arrows beside a read-only field.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(const QString &objectName, QWidget *parent);
    // +1 up, -1 down, as the operator's click.
    void click(int direction);

signals:
    void clicked(int direction);
};

class TContConf : public Ui::Window {
    Q_OBJECT
public:
    TContConf();

    QComboBox *ComboBox1;  // contest name
    Ui::RadioGroupBox *RadioGroup1; // award shown in the contest window
    QSpinBox *SPoint;      // factor for every point value
    QLabel *Label22;       // "Sent"; a double click unlocks EditSen
    Ui::MaskEdit *EditSen; // first sent number
    QCheckBox *CheckBoxSen; // "Add to": sent numbers count up
    QLabel *Label21;
    Ui::MaskEdit *MaskEdit1; // the step
    TUpDown *UpDown1;
    QCheckBox *CheckBox3;  // automatic start and end
    QDateEdit *DatePicker1;
    QTimeEdit *TimePicker1;
    QDateEdit *DatePicker2;
    QTimeEdit *TimePicker2;
    QCheckBox *CheckBox1; // hidden; only stored and loaded
    QCheckBox *CheckBox2;
    QLabel *Label19;
    QPushButton *ButtonSav;
    QPushButton *ButtonOp;
    QPushButton *ButtonCl;

    // "Point" + band token + mode suffix, e.g. "Point180s"; nullptr for
    // another name.
    QLineEdit *point(const QString &name) const;
    // "UpDown" + the same; nullptr for another name.
    TUpDown *upDown(const QString &name) const;

    void FormCreate() override;
    void FormClose() override;
    void ButtonSavClick();
    void ButtonOpClick();
    void ButtonClClick() { closeWindow(); }
    void CheckBoxSenClick();
    void Label22DblClick();
    // The arrows of a point field (named as the field).
    void PointUpDownClick(const QString &pointName, int direction);
    void UpDown1Click(int direction);

    // What the controls hold, as a contest file has it.
    ContestFile::Settings settings() const;
    // Reads a contest file into the controls; a bad line is reported once
    // and the rest applied.
    void readFile(const QString &path);
    void writeFile(const QString &path) const;

private:
    void apply(const ContestFile::Reading &reading);
    QString iniPath() const;
    QHash<QString, QLineEdit *> points_;
    QHash<QString, TUpDown *> upDowns_;
};

extern TContConf *ContConf;
