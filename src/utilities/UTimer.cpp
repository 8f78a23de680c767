#include "utilities/UTimer.h"

#include "core/FVihod.h"
#include "core/SettingsFile.h"
#include "core/Unit3.h"
#include "platform/audio/WaveDevice.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Guard.h"
#include "station/USound.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFoTimer *FoTimer = nullptr;

namespace {

QString programFile(const QString &name)
{
    return QDir(Form3->EditDir->text()).filePath(name);
}

QTime wholeSeconds(const QTime &t)
{
    return QTime(t.hour(), t.minute(), t.second());
}

TFoTimer::RecorderState &recorderState()
{
    static TFoTimer::RecorderState state = [] { return false; };
    return state;
}

// The voice recorder driven by its buttons, as the operator would.
class SoundRecorder : public TimedRecording::Recorder {
public:
    bool recording() const override { return recorderState()(); }
    void start() override
    {
        SoundR->closeMediaPlayer();
        SoundR->ButtonRecClick();
    }
    void stopAndSave() override
    {
        SoundR->ButtonStopClick();
        SoundR->ButtonSaveClick();
    }
};

QSpinBox *spin(QWidget *parent, const QString &name, int min, int max, int value, const QString &hint)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(value);
    s->setToolTip(hint);
    return s;
}

QTimeEdit *timeEdit(QWidget *parent, const QString &name)
{
    auto *t = new QTimeEdit(QTime(0, 0), parent);
    t->setObjectName(name);
    t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return t;
}

QDateEdit *dateEdit(QWidget *parent, const QString &name)
{
    auto *d = new QDateEdit(QDate::currentDate(), parent);
    d->setObjectName(name);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    d->setCalendarPopup(true);
    return d;
}

const QString onOff = QStringLiteral("Вкл/Выкл");
const QString startHint = QStringLiteral("Время начала записи");
const QString lengthHint = QStringLiteral("Время записи");

} // namespace

TFoTimer::RecorderState TFoTimer::setRecorderState(RecorderState state)
{
    return std::exchange(recorderState(), state ? std::move(state) : [] { return false; });
}

TFoTimer::TFoTimer() : Ui::Window(QStringLiteral("FoTimer"), QStringLiteral("SoundTimer"))
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    TabbedNotebook1 = new QTabWidget(central);
    TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
    layout->addWidget(TabbedNotebook1);

    auto *alarmPage = new QWidget;
    auto *alarmGrid = new QGridLayout(alarmPage);
    alarmGrid->addWidget(Ui::label(QStringLiteral("System Time"), alarmPage), 0, 0, 1, 3);
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        PickerDA[i] = dateEdit(alarmPage, QStringLiteral("PickerDA") + n);
        PickerTA[i] = timeEdit(alarmPage, QStringLiteral("PickerTA") + n);
        CheckBoxA[i] = new QCheckBox(alarmPage);
        CheckBoxA[i]->setObjectName(QStringLiteral("CheckBoxA") + n);
        alarmGrid->addWidget(CheckBoxA[i], i + 1, 0);
        alarmGrid->addWidget(PickerDA[i], i + 1, 1);
        alarmGrid->addWidget(PickerTA[i], i + 1, 2);
        Ui::connectGuarded(CheckBoxA[i], &QCheckBox::toggled, this, [this] { startTimer1(); });
    }
    TabbedNotebook1->addTab(alarmPage, QStringLiteral("Alarm"));

    auto *recPage = new QWidget;
    auto *recLayout = new QVBoxLayout(recPage);
    recLayout->addWidget(Ui::label(QStringLiteral("System Time"), recPage));
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        CheckBoxR[i] = new QCheckBox(recPage);
        CheckBoxR[i]->setObjectName(QStringLiteral("CheckBoxR") + n);
        CheckBoxR[i]->setToolTip(onOff);
        SpinEdit[i] = spin(recPage, QStringLiteral("SpinEdit") + n, 1, 5, 1, lengthHint);
        Ui::connectGuarded(CheckBoxR[i], &QCheckBox::toggled, this, [this] { startTimer2(); });
    }
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        PickerTT[i] = dateEdit(recPage, QStringLiteral("PickerTT") + n);
        PickerTD[i] = timeEdit(recPage, QStringLiteral("PickerTD") + n);
        PickerTD[i]->setToolTip(startHint);
        auto *group = new QGroupBox(recPage);
        auto *row = new QHBoxLayout(group);
        for (QWidget *w : {static_cast<QWidget *>(CheckBoxR[i]), static_cast<QWidget *>(PickerTT[i]),
                           static_cast<QWidget *>(PickerTD[i]), static_cast<QWidget *>(SpinEdit[i])})
            row->addWidget(w);
        recLayout->addWidget(group);
    }
    PickerTT4 = timeEdit(recPage, QStringLiteral("PickerTT4"));
    PickerTT4->setToolTip(startHint);
    SpinEditT = spin(recPage, QStringLiteral("SpinEditT"), 5, 120, 60,
                     QStringLiteral("Время с начала записи до следующей"));
    SpinEdit5 = spin(recPage, QStringLiteral("SpinEdit5"), 1, 10, 1, QStringLiteral("Кол-во записей"));
    auto *seriesGroup = new QGroupBox(recPage);
    auto *seriesRow = new QHBoxLayout(seriesGroup);
    for (QWidget *w : {static_cast<QWidget *>(CheckBoxR[3]), static_cast<QWidget *>(PickerTT4),
                       static_cast<QWidget *>(SpinEdit[3]), static_cast<QWidget *>(SpinEditT),
                       static_cast<QWidget *>(SpinEdit5)})
        seriesRow->addWidget(w);
    recLayout->addWidget(seriesGroup);
    Picker1 = timeEdit(recPage, QStringLiteral("Picker1"));
    Picker1->hide();
    Edit1 = new QLineEdit(QStringLiteral("0"), recPage);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->hide();
    Button1 = new QPushButton(QStringLiteral("Exit Opt"), recPage);
    Button1->setObjectName(QStringLiteral("Button1"));
    recLayout->addWidget(Button1);
    TabbedNotebook1->addTab(recPage, QStringLiteral("Time Rec"));

    auto *buttons = new QHBoxLayout;
    ButtonS = new QPushButton(QStringLiteral("Save"), central);
    ButtonS->setObjectName(QStringLiteral("ButtonS"));
    ButtonR = new QPushButton(QStringLiteral("Reset"), central);
    ButtonR->setObjectName(QStringLiteral("ButtonR"));
    ButtonC = new QPushButton(QStringLiteral("Close"), central);
    ButtonC->setObjectName(QStringLiteral("ButtonC"));
    for (QPushButton *b : {ButtonS, ButtonR, ButtonC})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);

    SoundFailure = new Ui::Notice(QStringLiteral("SoundFailure"), QStringLiteral("SoundTimer"), this);

    Ui::connectGuarded(ButtonS, &QPushButton::clicked, this, [this] { ButtonSClick(); });
    Ui::connectGuarded(ButtonR, &QPushButton::clicked, this, [this] { ButtonRClick(); });
    Ui::connectGuarded(ButtonC, &QPushButton::clicked, this, [this] { ButtonCClick(); });
    Ui::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Ui::connectGuarded(TabbedNotebook1, &QTabWidget::currentChanged, this, [this] { TabbedNotebook1Change(); });
    Ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Ui::connectGuarded(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

AlarmFile::Alarms TFoTimer::alarms() const
{
    AlarmFile::Alarms alarms;
    for (int i = 0; i < 3; ++i)
        alarms[i] = {PickerDA[i]->date(), PickerTA[i]->time(), CheckBoxA[i]->isChecked()};
    return alarms;
}

void TFoTimer::setAlarms(const AlarmFile::Alarms &alarms)
{
    for (int i = 0; i < 3; ++i) {
        PickerDA[i]->setDate(alarms[i].date);
        PickerTA[i]->setTime(alarms[i].time);
        CheckBoxA[i]->setChecked(alarms[i].armed);
    }
}

void TFoTimer::FormCreate()
{
    const QString path = programFile(QString::fromLatin1(AlarmFile::fileName));
    if (QFileInfo::exists(path)) {
        AlarmFile::Reading reading = AlarmFile::parse(SettingsFile::readFile(path), alarms());
        AlarmFile::disarmPast(reading.alarms, MainClock::now().date());
        // An armed alarm starts Timer1 through its box, so it rings after a restart.
        setAlarms(reading.alarms);
        if (!reading.problem.isEmpty())
            Ui::showError(reading.problem);
    }
    resetRecordingPage();
    TabbedNotebook1Change();
}

void TFoTimer::FormClose()
{
    Picker1->setTime(PickerTT4->time());
    Edit1->setText(QString::number(SpinEdit5->value()));
    recordings_.restartSeries();
}

void TFoTimer::resetRecordingPage()
{
    const QDateTime now = MainClock::now();
    for (int i = 0; i < 3; ++i) {
        CheckBoxR[i]->setChecked(false);
        PickerTT[i]->setDate(now.date());
        PickerTD[i]->setTime(wholeSeconds(now.time()));
        SpinEdit[i]->setValue(1);
    }
    CheckBoxR[3]->setChecked(false);
    PickerTT4->setTime(wholeSeconds(now.time()));
    SpinEdit[3]->setValue(1);
}

void TFoTimer::ButtonSClick()
{
    SettingsFile::writeFile(programFile(QString::fromLatin1(AlarmFile::fileName)), AlarmFile::compose(alarms()));
}

void TFoTimer::ButtonRClick()
{
    if (TabbedNotebook1->currentIndex() == AlarmPage) {
        const QDateTime now = MainClock::now();
        AlarmFile::Alarms reset;
        reset.fill({now.date(), wholeSeconds(now.time()), false});
        setAlarms(reset);
        Timer1->stop();
    } else {
        resetRecordingPage();
        Timer2->stop();
    }
}

void TFoTimer::ButtonCClick() { closeWindow(); }

void TFoTimer::Button1Click() { FVihod->showModal(); }

void TFoTimer::TabbedNotebook1Change()
{
    // Only the alarms are saved.
    ButtonS->setEnabled(TabbedNotebook1->currentIndex() == AlarmPage);
}

void TFoTimer::showPage(PageIndex page)
{
    TabbedNotebook1->setCurrentIndex(page);
    TabbedNotebook1Change();
    showWindow();
}

void TFoTimer::startTimer1()
{
    // A timer counts from its start, so nothing passed while it stood still fires.
    if (Timer1->isActive())
        return;
    reference1_.reset(MainClock::now());
    Timer1->start();
}

void TFoTimer::startTimer2()
{
    if (Timer2->isActive())
        return;
    reference2_.reset(MainClock::now());
    Timer2->start();
}

void TFoTimer::Timer1Timer()
{
    if (const std::optional<MainClock::Span> span = reference1_.advance(MainClock::now())) {
        const QString sound = programFile(QString::fromLatin1(AlarmFile::soundPath));
        for (int i : AlarmFile::dueAlarms(alarms(), *span)) {
            if (!Audio::playSound(sound))
                reportSoundFailure();
            CheckBoxA[i]->setChecked(false);
        }
    }
    if (!AlarmFile::anyArmed(alarms()))
        Timer1->stop();
}

void TFoTimer::reportSoundFailure()
{
    SoundFailure->report(Audio::waveDevice().errorText());
}

TimedRecording::Page TFoTimer::recordingPage() const
{
    TimedRecording::Page page;
    for (int i = 0; i < 3; ++i)
        page.singles[i] = {CheckBoxR[i]->isChecked(), PickerTT[i]->date(), PickerTD[i]->time(), SpinEdit[i]->value()};
    page.series = {CheckBoxR[3]->isChecked(), SpinEdit[3]->value(), SpinEditT->value()};
    return page;
}

void TFoTimer::Timer2Timer()
{
    const QDateTime now = MainClock::now();
    // A recording the timer started still needs its stop.
    const bool armed = std::any_of(CheckBoxR.begin(), CheckBoxR.end(), [](QCheckBox *c) { return c->isChecked(); });
    if (!armed && !recordings_.recording())
        Timer2->stop();
    const std::optional<MainClock::Span> span = reference2_.advance(now);
    if (!span)
        return;
    TimedRecording::Page page = recordingPage();
    TimedRecording::SeriesRun run{Picker1->time(), Edit1->text().toInt()};
    SoundRecorder recorder;
    recordings_.tick(*span, now, page, run, recorder);
    Picker1->setTime(run.next);
    Edit1->setText(QString::number(run.left));
    if (!page.series.armed)
        CheckBoxR[3]->setChecked(false);
}
