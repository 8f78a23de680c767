#include "station/UPtt.h"

#include "core/SettingsFile.h"
#include "core/UConf.h"
#include "core/Unit3.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "station/UCw.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <stdexcept>

TFPtt *FPtt = nullptr;

TFPtt::TFPtt() : Ui::Window(QStringLiteral("FPtt"), QStringLiteral("Config"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *columns = new QHBoxLayout(central);
    auto *side = new QVBoxLayout;
    columns->addLayout(side);

    auto edit = [central](const char *name) {
        auto *e = new QLineEdit(central);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    auto *pttBox = new QGroupBox(QStringLiteral(" Pause PTT - Signal "), central);
    auto *pttLayout = new QGridLayout(pttBox);
    Edit1 = edit("Edit1");
    UpDown1 = new TKeyerUpDown(QStringLiteral("UpDown1"), KeyerSettings::leadRange, Edit1, pttBox);
    pttLayout->addWidget(Edit1, 0, 0);
    pttLayout->addWidget(UpDown1, 0, 1);
    pttLayout->addWidget(Ui::label(QStringLiteral("msec"), pttBox), 0, 2);
    pttLayout->addWidget(Ui::label(QStringLiteral("1000msec = 1sec"), pttBox), 1, 0, 1, 3);
    side->addWidget(pttBox);

    auto *stopBox = new QGroupBox(QStringLiteral(" Stop "), central);
    auto *stopLayout = new QGridLayout(stopBox);
    CheckBox1 = new QCheckBox(QStringLiteral("RX on Buffer free"), stopBox);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Edit32 = edit("Edit32");
    UpDown2 = new TKeyerUpDown(QStringLiteral("UpDown2"), KeyerSettings::stopRange, Edit32, stopBox);
    stopLayout->addWidget(CheckBox1, 0, 0, 1, 3);
    stopLayout->addWidget(Edit32, 1, 0);
    stopLayout->addWidget(UpDown2, 1, 1);
    stopLayout->addWidget(Ui::label(QStringLiteral("msec"), stopBox), 1, 2);
    side->addWidget(stopBox);

    auto *autoBox = new QGroupBox(QStringLiteral(" Auto TX "), central);
    auto *autoLayout = new QVBoxLayout(autoBox);
    CheckBox2 = new QCheckBox(QStringLiteral("On key press"), autoBox);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    autoLayout->addWidget(CheckBox2);
    side->addWidget(autoBox);

    RadioGroup1 = new Ui::RadioGroupBox(QStringLiteral("RadioGroup1"), QStringLiteral(" Port "),
                                        {QStringLiteral("None"), QStringLiteral("COM 1"), QStringLiteral("COM 2"),
                                         QStringLiteral("COM 3"), QStringLiteral("COM 4"), QStringLiteral("LPT 1"),
                                         QStringLiteral("LPT 2")},
                                        central);
    // Three columns, filled top to bottom.
    const auto radios = RadioGroup1->findChildren<QRadioButton *>();
    delete RadioGroup1->layout();
    auto *portGrid = new QGridLayout(RadioGroup1);
    for (int i = 0; i < radios.size(); ++i)
        portGrid->addWidget(radios[i], i % 3, i / 3);
    side->addWidget(RadioGroup1);
    side->addStretch();

    auto *macros = new QGroupBox(QStringLiteral(" Macros "), central);
    auto *grid = new QGridLayout(macros);
    grid->addWidget(Ui::label(QStringLiteral("Name"), macros), 0, 0);
    grid->addWidget(Ui::label(QStringLiteral("Text"), macros), 0, 1);
    for (int i = 0; i < KeyerSettings::macroCount; ++i) {
        EditN[size_t(i)] = new QLineEdit(macros);
        EditN[size_t(i)]->setObjectName(QStringLiteral("EditN%1").arg(i + 1));
        EditT[size_t(i)] = new QLineEdit(macros);
        EditT[size_t(i)]->setObjectName(QStringLiteral("EditT%1").arg(i + 1));
        EditT[size_t(i)]->setMinimumWidth(360);
        grid->addWidget(EditN[size_t(i)], i + 1, 0);
        grid->addWidget(EditT[size_t(i)], i + 1, 1);
    }
    Button1 = new QPushButton(QStringLiteral("Apply"), macros);
    Button1->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(Button1, KeyerSettings::macroCount + 1, 1, Qt::AlignRight);
    columns->addWidget(macros);

    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    for (QRadioButton *radio : radios)
        Ui::connectGuarded(radio, &QRadioButton::toggled, this, [](bool on) {
            if (on && FCW)
                FCW->portChoiceChanged();
        });
    apply(KeyerSettings::defaults());
}

QString TFPtt::filePath() const
{
    const QString dir = Config ? Config->programDirectory() : QDir::currentPath();
    return QDir(dir).filePath(QString::fromLatin1(KeyerSettings::fileName));
}

KeyerSettings::Station TFPtt::ownStation()
{
    KeyerSettings::Station station;
    if (!Config)
        return station;
    // The settings window reads its file only once the main window is up, after
    // this window was made: the file's values, else the window's.
    SettingsFile::Values values;
    try {
        if (const auto reading = Config->fileReading())
            values = reading->values;
    } catch (const std::runtime_error &) {
        // The settings window reports the unreadable file itself.
    }
    station.call = values.value(QStringLiteral("MyCall"), Config->MaskEditC->text()).toUpper();
    station.name = values.value(QStringLiteral("MyName"), Config->MaskEditN->text());
    station.qth = values.value(QStringLiteral("MyQth"), Config->MaskEditQ->text());
    return station;
}

KeyerSettings::Settings TFPtt::settings() const
{
    KeyerSettings::Settings s;
    for (int i = 0; i < KeyerSettings::macroCount; ++i) {
        s.names << EditN[size_t(i)]->text();
        s.texts << EditT[size_t(i)]->text();
    }
    s.port = std::max(0, RadioGroup1->itemIndex());
    s.lead = UpDown1->Position();
    s.stop = UpDown2->Position();
    s.rxOnBufferFree = CheckBox1->isChecked();
    s.onKeyPress = CheckBox2->isChecked();
    s.speed = FCW ? FCW->UpDown1->Position() : s.speed;
    return s;
}

void TFPtt::apply(const KeyerSettings::Settings &s)
{
    for (int i = 0; i < KeyerSettings::macroCount; ++i) {
        EditN[size_t(i)]->setText(s.names.value(i));
        EditT[size_t(i)]->setText(s.texts.value(i));
    }
    RadioGroup1->setItemIndex(s.port);
    UpDown1->setPosition(s.lead);
    UpDown2->setPosition(s.stop);
    CheckBox1->setChecked(s.rxOnBufferFree);
    CheckBox2->setChecked(s.onKeyPress);
    if (FCW)
        FCW->UpDown1->setPosition(s.speed);
}

void TFPtt::FormCreate()
{
    const QString path = filePath();
    if (!QFile::exists(path)) {
        // A new installation: the macros speak for the station in the settings.
        KeyerSettings::Settings s = settings();
        const KeyerSettings::Settings own = KeyerSettings::defaults(ownStation());
        s.names = own.names;
        s.texts = own.texts;
        apply(s);
        return;
    }
    const KeyerSettings::Reading reading = KeyerSettings::parse(SettingsFile::readFile(path), settings());
    apply(reading.settings);
    if (!reading.problem.isEmpty())
        Ui::showError(reading.problem);
}

void TFPtt::Button1Click()
{
    SettingsFile::writeFile(filePath(), KeyerSettings::compose(settings()));
    if (FCW)
        FCW->showMacroNames();
}

void TFPtt::FormClose()
{
    if (Form3)
        Form3->showWindow();
}
