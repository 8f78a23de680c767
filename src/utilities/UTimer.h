#pragma once
// Alarms and timed recordings.

#include "core/MainClock.h"
#include "platform/ui/Notice.h"
#include "platform/ui/Window.h"
#include "utilities/AlarmFile.h"
#include "utilities/TimedRecording.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <array>
#include <functional>

class TFoTimer : public Ui::Window {
    Q_OBJECT
public:
    TFoTimer();

    enum PageIndex { AlarmPage = 0, TimeRecPage = 1 };

    QTabWidget *TabbedNotebook1;
    // "Alarm"
    std::array<QDateEdit *, 3> PickerDA; // PickerDA1..3
    std::array<QTimeEdit *, 3> PickerTA; // PickerTA1..3
    std::array<QCheckBox *, 3> CheckBoxA; // CheckBoxA1..3
    // "Time Rec": singles 1..3, then the series (CheckBoxR4, PickerTT4, SpinEdit4)
    std::array<QCheckBox *, 4> CheckBoxR;
    std::array<QDateEdit *, 3> PickerTT; // PickerTT1..3, the dates
    QTimeEdit *PickerTT4;                // the series' first start
    std::array<QTimeEdit *, 3> PickerTD; // PickerTD1..3, the start times
    std::array<QSpinBox *, 4> SpinEdit;  // SpinEdit1..4, lengths
    QSpinBox *SpinEditT;                 // the series' interval
    QSpinBox *SpinEdit5;                 // the series' count
    QTimeEdit *Picker1;                  // hidden: the series' next start
    QLineEdit *Edit1;                    // hidden: recordings still to start
    QPushButton *ButtonS;                // "Save"
    QPushButton *ButtonR;                // "Reset"
    QPushButton *ButtonC;                // "Close"
    QPushButton *Button1;                // "Exit Opt"
    QTimer *Timer1;                      // alarms
    QTimer *Timer2;                      // recordings
    // An alarm sound the device could not play is reported here, beside the
    // main window: a message box would take the keys typed into the entry.
    Ui::Notice *SoundFailure;

    void FormCreate() override;
    void FormClose() override;
    void ButtonSClick();
    void ButtonRClick();
    void ButtonCClick();
    void Button1Click();
    void TabbedNotebook1Change();
    void Timer1Timer();
    void Timer2Timer();

    // The Sound menu: the window shown on "Alarm" or "Time Rec".
    void showPage(PageIndex page);

    // Whether the recorder records now (the operator's own recording too).
    using RecorderState = std::function<bool()>;
    static RecorderState setRecorderState(RecorderState state);

    AlarmFile::Alarms alarms() const;
    void setAlarms(const AlarmFile::Alarms &alarms);

private:
    void startTimer1();
    void startTimer2();
    void resetRecordingPage();
    void reportSoundFailure();
    TimedRecording::Page recordingPage() const;
    MainClock::Reference reference1_;
    MainClock::Reference reference2_;
    TimedRecording::Machine recordings_;
};

extern TFoTimer *FoTimer;
