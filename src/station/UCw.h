#pragma once
// Morse keyer.

#include "platform/ui/Window.h"

class TFCW : public Ui::Window {
    Q_OBJECT
public:
    TFCW();

    // Shows the window, puts `text` into the send line, sets the transmit
    // state and clicks "TX": the main window's CQ button in CW mode.
    void sendFromMainWindow(const QString &text);
};

extern TFCW *FCW;
