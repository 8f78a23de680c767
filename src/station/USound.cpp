#include "station/USound.h"

#include "core/Unit3.h"
#include "platform/audio/WaveDevice.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QHBoxLayout>

TSoundR *SoundR = nullptr;

TSoundR::TSoundR() : Ui::Window(QStringLiteral("SoundR"), QStringLiteral("Player"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *row = new QHBoxLayout(central);
    ButtonRec = new QPushButton(QStringLiteral("Rec"), central);
    ButtonRec->setObjectName(QStringLiteral("ButtonRec"));
    ButtonStop = new QPushButton(QStringLiteral("Stop"), central);
    ButtonStop->setObjectName(QStringLiteral("ButtonStop"));
    ButtonSave = new QPushButton(QStringLiteral("Save"), central);
    ButtonSave->setObjectName(QStringLiteral("ButtonSave"));
    for (QPushButton *b : {ButtonRec, ButtonStop, ButtonSave})
        row->addWidget(b);
    Ui::connectGuarded(ButtonRec, &QPushButton::clicked, this, [this] { ButtonRecClick(); });
    Ui::connectGuarded(ButtonStop, &QPushButton::clicked, this, [this] { ButtonStopClick(); });
    Ui::connectGuarded(ButtonSave, &QPushButton::clicked, this, [this] { ButtonSaveClick(); });
}

void TSoundR::closeMediaPlayer()
{
    Audio::waveDevice().close();
}

void TSoundR::ButtonRecClick()
{
    closeMediaPlayer();
    Audio::waveDevice().record(QDir(Form3->EditDir->text()).filePath(QStringLiteral("Sound/LogS.wav")));
}

void TSoundR::ButtonStopClick()
{
    Audio::waveDevice().stop();
}
