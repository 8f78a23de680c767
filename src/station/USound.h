#pragma once
// Voice recorder and player: records the operator's contacts into wave files
// kept in the table `Sound`, each with its date, time and callsign.

#include "platform/ui/MenuItem.h"
#include "platform/ui/Window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace Db {
class DbGrid;
}

namespace Recorder {
// The play gauge: position / length x 100, halves to even; 0 for an empty
// recording.
int gaugePercent(qint64 position, qint64 length);
// A recording stops on this tick of its one-second timer (the gauge's
// maximum is one more).
inline constexpr int lastTick = 299;
} // namespace Recorder

class TSoundR : public Ui::Window {
    Q_OBJECT
public:
    TSoundR();

    QLabel *Label1; // "Stop", "Rec", "Play" or "Save"
    QProgressBar *Gauge1;
    QSlider *TrackBar1;
    QTimer *Timer1; // play progress
    QTimer *Timer2; // recording length
    QPushButton *ButtonRec;
    QPushButton *ButtonStop;
    QPushButton *ButtonSave;
    QPushButton *ButtonPlay;
    QPushButton *ButtonPrior; // "Rewind"
    QPushButton *ButtonPrew;  // "Previous"
    QPushButton *ButtonAbort;
    Ui::MenuItem *DelDelete;
    Ui::MenuItem *DelClear;
    Db::DbGrid *DBGrid1;

    void FormCreate() override;
    void FormClose() override;
    // The media device of the recorder.
    void closeMediaPlayer();
    void ButtonRecClick();
    void ButtonStopClick();
    void ButtonSaveClick();
    void ButtonPlayClick();
    void ButtonPriorClick();
    void ButtonPrewClick();
    void ButtonAbortClick();
    void TrackBar1Change();
    void Timer1Timer();
    void Timer2Timer();
    void DelDeleteClick();
    void DelClearClick();

    // The main window's "Player": idle, then shown.
    void showStopped();
    // A recording runs, or waits for its "Save" or "Abort".
    bool isRecording() const;

private:
    void setIdle();
    void reportDevice();
    QString soundFile(const char *name) const;
    bool deviceFailureShown_ = false; // until the device works again
};

extern TSoundR *SoundR;
