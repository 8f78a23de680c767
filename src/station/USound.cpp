#include "station/USound.h"

#include "core/LogWalks.h"
#include "core/MainClock.h"
#include "core/Progress.h"
#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/audio/WaveDevice.h"
#include "platform/table/DbGrid.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenuBar>
#include <QSignalBlocker>
#include <cmath>

TSoundR *SoundR = nullptr;

namespace Recorder {

int gaugePercent(qint64 position, qint64 length)
{
    if (length <= 0)
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    return int(std::nearbyint(double(position) / double(length) * 100.0));
}

} // namespace Recorder

namespace {

constexpr int maroon = 0x000080;

void setMainCaptions(const QString &re, const QString &pl)
{
    Form3->ButtonRe->setText(re);
    Form3->ButtonPl->setText(pl);
}

void removeFile(const QString &path)
{
    QFile file(path);
    if (file.exists() && !file.remove())
        throw std::runtime_error(QStringLiteral("Cannot delete %1: %2").arg(path, file.errorString()).toStdString());
}

} // namespace

TSoundR::TSoundR() : Ui::Window(QStringLiteral("SoundR"), QStringLiteral("Player"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *grid = new QGridLayout(central);
    Label1 = Ui::label(QStringLiteral("Stop"), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Ui::setFontColor(Label1, maroon);
    Gauge1 = new QProgressBar(central);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    TrackBar1 = new QSlider(Qt::Horizontal, central);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 50);
    TrackBar1->setEnabled(false);
    auto button = [central](const char *name, const QString &caption, bool enabled) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(QString::fromLatin1(name));
        b->setEnabled(enabled);
        return b;
    };
    ButtonRec = button("ButtonRec", QStringLiteral("Rec"), true);
    ButtonStop = button("ButtonStop", QStringLiteral("Stop"), false);
    ButtonSave = button("ButtonSave", QStringLiteral("Save"), false);
    ButtonPlay = button("ButtonPlay", QStringLiteral("Play"), true);
    ButtonPrior = button("ButtonPrior", QStringLiteral("Rewind"), false);
    ButtonPrew = button("ButtonPrew", QStringLiteral("Previous"), false);
    ButtonAbort = button("ButtonAbort", QStringLiteral("Abort"), true);
    DBGrid1 = new Db::DbGrid(central);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("System Time"));
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Gauge1, 0, 1, 1, 6);
    grid->addWidget(TrackBar1, 1, 0, 1, 7);
    int column = 0;
    for (QPushButton *b : {ButtonRec, ButtonStop, ButtonSave, ButtonPlay, ButtonPrior, ButtonPrew, ButtonAbort})
        grid->addWidget(b, 2, column++);
    grid->addWidget(DBGrid1, 3, 0, 1, 7);

    QMenu *del = menuBar()->addMenu(QStringLiteral("Delete"));
    DelDelete = new Ui::MenuItem(QStringLiteral("DelDelete"), QStringLiteral("Delete"), this);
    DelDelete->setHandler([this] { DelDeleteClick(); });
    DelClear = new Ui::MenuItem(QStringLiteral("DelClear"), QStringLiteral("Clear"), this);
    DelClear->setHandler([this] { DelClearClick(); });
    del->addAction(DelDelete);
    del->addAction(DelClear);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);

    Ui::connectGuarded(ButtonRec, &QPushButton::clicked, this, [this] { ButtonRecClick(); });
    Ui::connectGuarded(ButtonStop, &QPushButton::clicked, this, [this] { ButtonStopClick(); });
    Ui::connectGuarded(ButtonSave, &QPushButton::clicked, this, [this] { ButtonSaveClick(); });
    Ui::connectGuarded(ButtonPlay, &QPushButton::clicked, this, [this] { ButtonPlayClick(); });
    Ui::connectGuarded(ButtonPrior, &QPushButton::clicked, this, [this] { ButtonPriorClick(); });
    Ui::connectGuarded(ButtonPrew, &QPushButton::clicked, this, [this] { ButtonPrewClick(); });
    Ui::connectGuarded(ButtonAbort, &QPushButton::clicked, this, [this] { ButtonAbortClick(); });
    Ui::connectGuarded(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    Ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Ui::connectGuarded(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

void TSoundR::FormCreate()
{
    Db::Table &sound = DM->TableS;
    sound.setFieldView(QStringLiteral("DateTim"), QStringLiteral("Date Time"), 19);
    sound.setFieldVisible(QStringLiteral("Sound"), false);
    DBGrid1->setDataSource(&DM->DataSourceS);
}

QString TSoundR::soundFile(const char *name) const
{
    return QDir(Form3->EditDir->text()).filePath(QStringLiteral("Sound/") + QLatin1String(name));
}

void TSoundR::closeMediaPlayer()
{
    Audio::waveDevice().close();
}

void TSoundR::reportDevice()
{
    // Once until the device works again: AutoSave restarts the recording on
    // every key of the callsign.
    if (!std::exchange(deviceFailureShown_, true))
        Ui::showError(Audio::waveDevice().errorText());
}

void TSoundR::setIdle()
{
    Label1->setText(QStringLiteral("Stop"));
    ButtonRec->setEnabled(true);
    ButtonPlay->setEnabled(true);
    ButtonStop->setEnabled(false);
    ButtonSave->setEnabled(false);
    setMainCaptions(QStringLiteral("Rec"), QStringLiteral("Play"));
}

void TSoundR::ButtonRecClick()
{
    TrackBar1->setEnabled(false);
    Label1->setText(QStringLiteral("Rec"));
    Gauge1->setMaximum(Recorder::lastTick + 1);
    Gauge1->setValue(0);
    Timer1->stop();
    ButtonPlay->setEnabled(false);
    ButtonSave->setEnabled(false);
    ButtonStop->setEnabled(true);
    closeMediaPlayer();
    // A fresh file from the template row; without one the device makes it.
    const QString path = soundFile("LogS.wav");
    Db::Table &templates = DM->TableR;
    try {
        if (templates.isActive() && !templates.isEmpty())
            templates.fieldByName(QStringLiteral("Sound")).saveToFile(path);
        else
            removeFile(path);
    } catch (...) {
        // No recording starts without its file.
        Timer2->stop();
        setIdle();
        throw;
    }
    Audio::WaveDevice &device = Audio::waveDevice();
    if (!device.open(path) || !device.record()) {
        closeMediaPlayer();
        // The template alone is no recording: a later save stores nothing.
        removeFile(path);
        setIdle();
        reportDevice();
        return;
    }
    deviceFailureShown_ = false;
    setMainCaptions(QStringLiteral("Abort"), QStringLiteral("Save"));
    Form3->Timer4->start();
    Timer2->start();
}

void TSoundR::Timer2Timer()
{
    if (Label1->text() != QLatin1String("Rec"))
        return;
    Gauge1->setValue(Gauge1->value() + 1);
    if (Gauge1->value() >= Recorder::lastTick)
        ButtonStopClick();
}

void TSoundR::ButtonStopClick()
{
    Timer1->stop();
    Timer2->stop();
    Gauge1->setValue(0);
    Audio::WaveDevice &device = Audio::waveDevice();
    device.stop();
    if (Label1->text() == QLatin1String("Play"))
        setMainCaptions(QStringLiteral("Rec"), QStringLiteral("Play"));
    bool saved = true;
    if (Label1->text() == QLatin1String("Rec"))
        saved = device.save();
    closeMediaPlayer();
    Label1->setText(QStringLiteral("Stop"));
    ButtonPlay->setEnabled(true);
    ButtonSave->setEnabled(true);
    ButtonRec->setEnabled(true);
    ButtonStop->setEnabled(false);
    ButtonPrior->setEnabled(false);
    ButtonPrew->setEnabled(false);
    if (!saved) {
        // The file holds the template or a torn write, not the recording:
        // the next save must store nothing.
        removeFile(soundFile("LogS.wav"));
        Ui::showError(device.errorText());
    }
}

bool TSoundR::isRecording() const
{
    return Form3->ButtonRe->text() == QLatin1String("Abort");
}

void TSoundR::ButtonSaveClick()
{
    TrackBar1->setEnabled(false);
    Label1->setText(QStringLiteral("Save"));
    Gauge1->setValue(0);
    Timer1->stop();
    const QString path = soundFile("LogS.wav");
    if (QFileInfo(path).isFile()) {
        const QString call = Form3->MaskEditCall->text();
        Db::Table &sound = DM->TableS;
        sound.append();
        try {
            sound.fieldByName(QStringLiteral("DateTim")).setAsDateTime(MainClock::now());
            if (call.size() > 2)
                sound.fieldByName(QStringLiteral("Callsignal")).setAsString(call);
            sound.fieldByName(QStringLiteral("Sound")).loadFromFile(path);
            sound.post();
        } catch (...) {
            sound.cancel();
            throw;
        }
        removeFile(path);
    }
    ButtonSave->setEnabled(false);
    setMainCaptions(QStringLiteral("Rec"), QStringLiteral("Play"));
}

void TSoundR::ButtonPlayClick()
{
    Gauge1->setMaximum(100);
    Timer2->stop();
    Label1->setText(QStringLiteral("Play"));
    ButtonRec->setEnabled(false);
    ButtonSave->setEnabled(false);
    closeMediaPlayer();
    const QString path = soundFile("LogP.wav");
    Db::Table &sound = DM->TableS;
    const bool row = sound.isActive() && !sound.isEmpty() &&
                     !sound.fieldByName(QStringLiteral("DateTim")).asString().isEmpty();
    if (row)
        sound.fieldByName(QStringLiteral("Sound")).saveToFile(path);
    Audio::WaveDevice &device = Audio::waveDevice();
    bool playing = false;
    if (row && QFileInfo(path).isFile()) {
        Timer1->start();
        playing = device.open(path) && device.play();
        if (playing) {
            deviceFailureShown_ = false;
            TrackBar1->setEnabled(true);
            ButtonStop->setEnabled(true);
            ButtonPrior->setEnabled(true);
            ButtonPrew->setEnabled(true);
        } else {
            Timer1->stop();
            reportDevice();
        }
    }
    if (!playing)
        ButtonRec->setEnabled(true);
    setMainCaptions(QStringLiteral("Rec"), QStringLiteral("Abort"));
    Form3->Timer4->start();
}

void TSoundR::Timer1Timer()
{
    const Audio::WaveDevice &device = Audio::waveDevice();
    Gauge1->setValue(Recorder::gaugePercent(device.position(), device.length()));
}

void TSoundR::ButtonPriorClick()
{
    Audio::WaveDevice &device = Audio::waveDevice();
    device.stop();
    Timer1->stop();
    device.seek(std::max<qint64>(device.position() - 1000, 0));
    device.play();
    Timer1->start();
}

void TSoundR::ButtonPrewClick()
{
    Audio::WaveDevice &device = Audio::waveDevice();
    device.stop();
    Timer1->stop();
    device.seek(1);
    device.play();
    Timer1->start();
}

void TSoundR::TrackBar1Change()
{
    if (Label1->text() != QLatin1String("Play"))
        return;
    Audio::WaveDevice &device = Audio::waveDevice();
    {
        const QSignalBlocker quiet(TrackBar1);
        TrackBar1->setMaximum(int(device.length()));
    }
    device.seek(TrackBar1->value());
    device.play();
}

void TSoundR::ButtonAbortClick()
{
    ButtonStopClick();
    closeMediaPlayer();
    ButtonSave->setEnabled(false);
    setMainCaptions(QStringLiteral("Rec"), QStringLiteral("Play"));
    // Dropped for good: a later save must not store it under another call.
    removeFile(soundFile("LogS.wav"));
}

void TSoundR::DelDeleteClick()
{
    Db::Table &sound = DM->TableS;
    if (sound.isActive() && !sound.isEmpty())
        sound.deleteRecord();
}

void TSoundR::DelClearClick()
{
    if (Ui::askYesNoCancel(QStringLiteral("Clear Sound LOG ?")) != Ui::Answer::Yes)
        return;
    Db::Table &sound = DM->TableS;
    ProgressWalk walk;
    walk.start(sound.recordCount());
    const Db::Detached detached{&DM->DataSourceS};
    LogWalks::deleteShown(sound, [&walk] { walk.step(); });
}

void TSoundR::showStopped()
{
    FormClose();
    TrackBar1->setEnabled(false);
    showWindow();
}

void TSoundR::FormClose()
{
    {
        const QSignalBlocker quiet(TrackBar1);
        TrackBar1->setValue(1);
    }
    Timer1->stop();
    Timer2->stop();
    Gauge1->setValue(0);
    closeMediaPlayer();
    Label1->setText(QStringLiteral("Stop"));
}
