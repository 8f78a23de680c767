#pragma once
// Voice recorder and player.

#include "platform/ui/Window.h"

#include <QPushButton>

class TSoundR : public Ui::Window {
    Q_OBJECT
public:
    TSoundR();

    QPushButton *ButtonRec;
    QPushButton *ButtonStop;
    QPushButton *ButtonSave;

    // The media device of the recorder.
    void closeMediaPlayer();
    // Starts recording into "Sound/LogS.wav" of the program directory.
    void ButtonRecClick();
    void ButtonStopClick();
    // Storing the recording with its callsign comes with the recordings table.
    void ButtonSaveClick() {}
};

extern TSoundR *SoundR;
