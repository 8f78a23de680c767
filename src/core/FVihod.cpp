#include "core/FVihod.h"

#include "platform/ui/Controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TFVihod *FVihod = nullptr;

TFVihod::TFVihod() : Ui::Window(QStringLiteral("FVihod"), QStringLiteral("Exit"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    CheckBox1 = new QCheckBox(QStringLiteral("Enable"), central);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    DateTimePicker1 = new QTimeEdit(QTime(0, 0), central);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    auto *group = new QGroupBox(QStringLiteral("Close"), central);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto *items = new QVBoxLayout(group);
    RadioTarnel = new QRadioButton(QStringLiteral("Tarnel"), group);
    RadioWindows = new QRadioButton(QStringLiteral("Windows"), group);
    RadioTarnel->setChecked(true);
    items->addWidget(RadioTarnel);
    items->addWidget(RadioWindows);
    auto *systemTime = Ui::label(QStringLiteral("System Time"), central);
    systemTime->setBuddy(DateTimePicker1);
    for (QWidget *w : {static_cast<QWidget *>(CheckBox1), static_cast<QWidget *>(systemTime),
                       static_cast<QWidget *>(DateTimePicker1),
                       static_cast<QWidget *>(group)})
        layout->addWidget(w);
}
