// The main window's voice recorder controls, the programs menu and the MixW
// menu.

#include "core/UConf.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/audio/WaveDevice.h"
#include "platform/shell/Shell.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "station/UCw.h"
#include "station/UMixW.h"
#include "station/USound.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int grey = 8421504;
constexpr int pureRed = 0x0000FF;
constexpr int pureGreen = 0x00FF00;

// Visible every other tick.
void blink(QLabel *label, int colour, const QString &letter)
{
    label->setText(letter);
    if (Ui::fontColor(label) == grey) {
        Ui::setFontColor(label, colour);
        label->show();
    } else {
        label->hide();
        Ui::setFontColor(label, grey);
    }
}

} // namespace

void TForm3::connectStation()
{
    Ui::connectGuarded(ButtonRe, &QPushButton::clicked, this, [this] { ButtonReClick(); });
    Ui::connectGuarded(ButtonPl, &QPushButton::clicked, this, [this] { ButtonPlClick(); });
    Ui::connectGuarded(ButtonCq, &QPushButton::clicked, this, [this] { ButtonCqClick(); });
    Ui::connectGuarded(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });
    const std::pair<Ui::MenuItem *, void (TForm3::*)()> items[] = {
        {SoundAutosave, &TForm3::SoundAutosaveClick}, {SoundPlay, &TForm3::SoundPlayClick},
        {Pr11, &TForm3::Pr11Click}, {Pr21, &TForm3::Pr21Click}, {Pr31, &TForm3::Pr31Click},
        {Pr41, &TForm3::Pr41Click}, {Pr51, &TForm3::Pr51Click}, {Pr61, &TForm3::Pr61Click},
        {Pr81, &TForm3::Pr81Click}, {Update1, &TForm3::Update1Click}, {Pr91, &TForm3::Pr91Click},
    };
    for (const auto &[item, handler] : items)
        item->setHandler([this, handler = handler] { (this->*handler)(); });
}

void TForm3::ButtonReClick()
{
    Timer4->start();
    if (ButtonRe->text() == QLatin1String("Rec")) {
        SoundR->closeMediaPlayer();
        // The recording captions come with a recording that started.
        SoundR->ButtonRecClick();
    } else if (ButtonRe->text() == QLatin1String("Abort")) {
        SoundR->ButtonAbortClick();
    }
}

void TForm3::ButtonPlClick()
{
    Timer4->start();
    if (ButtonPl->text() == QLatin1String("Play")) {
        SoundR->closeMediaPlayer();
        DM->TableS.last();
        SoundR->ButtonPlayClick();
        ButtonPl->setText(QStringLiteral("Abort"));
    } else if (ButtonPl->text() == QLatin1String("Abort")) {
        SoundR->ButtonStopClick();
        SoundR->closeMediaPlayer();
        ButtonPl->setText(QStringLiteral("Play"));
    }
    if (ButtonPl->text() == QLatin1String("Save")) {
        SoundR->ButtonStopClick();
        SoundR->ButtonSaveClick();
        ButtonPl->setText(QStringLiteral("Play"));
        ButtonRe->setText(QStringLiteral("Rec"));
    }
}

void TForm3::Timer4Timer()
{
    const QString re = ButtonRe->text();
    const QString pl = ButtonPl->text();
    if (re == QLatin1String("Rec") && pl == QLatin1String("Abort"))
        blink(Label30, pureGreen, QStringLiteral("P"));
    if (re == QLatin1String("Abort") && pl == QLatin1String("Save"))
        blink(Label30, pureRed, QStringLiteral("R"));
    if (re == QLatin1String("Rec") && pl == QLatin1String("Play")) {
        Label30->hide();
        Timer4->stop();
    }
}

void TForm3::ButtonCqClick()
{
    if (ComboBoxMode->currentText() == QLatin1String("CW")) {
        const QString own = Config->MaskEditC->text();
        FCW->sendFromMainWindow(QStringLiteral("CQ CQ CQ de ") + own + QLatin1Char(' ') + own + QLatin1Char(' ') + own +
                                QStringLiteral(" k<RX>"));
    } else {
        Audio::playSound(QDir(EditDir->text()).filePath(QStringLiteral("Sound/Cq.wav")));
    }
    MaskEditCall->setFocus();
}

void TForm3::SoundPlayClick()
{
    SoundR->showStopped();
}

void TForm3::SoundAutosaveClick()
{
    SoundAutosave->setChecked(!SoundAutosave->isChecked());
    Label31->setVisible(SoundAutosave->isChecked());
}

void TForm3::startProgram(const QString &path)
{
    switch (Shell::startOrOpen(path)) {
    case Shell::Launch::Missing:
        Ui::showWarning(QStringLiteral("File ") + path + QStringLiteral(" not exists !"));
        break;
    case Shell::Launch::Failed:
        Ui::showWarning(QStringLiteral("Cannot start ") + path);
        break;
    case Shell::Launch::Started:
    case Shell::Launch::Opened:
        break;
    }
    // A started program or the desktop may have moved it.
    QDir::setCurrent(EditDir->text());
}

void TForm3::Pr11Click() { startProgram(Config->EditPr1->text()); }
void TForm3::Pr21Click() { startProgram(Config->EditPr2->text()); }
void TForm3::Pr31Click() { startProgram(Config->EditPr3->text()); }
void TForm3::Pr41Click() { startProgram(Config->EditPr4->text()); }
void TForm3::Pr51Click() { startProgram(Config->EditPr5->text()); }
void TForm3::Pr61Click() { startProgram(Config->EditPr6->text()); }
void TForm3::Pr81Click() { startProgram(Config->EditPr8->text()); }

void TForm3::Update1Click()
{
    // Unticks "Real" once the file has been read.
    MixT->takeOverFromMenu();
}

void TForm3::Pr91Click()
{
    const QString path = Config->EditPr9->text();
    if (QFileInfo(path).isFile()) {
        showMinimized();
        CheckBoxTime->setChecked(false);
        MixT->showWindow();
    } else {
        Ui::showWarning(QStringLiteral("File ") + path + QStringLiteral(" not exists !"));
    }
    QDir::setCurrent(EditDir->text());
}
