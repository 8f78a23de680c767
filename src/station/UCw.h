#pragma once
// Morse keyer. It keys through a COM port (DTR push-to-talk, RTS key) or a
// parallel port (data bit 1 push-to-talk, bit 0 key), sends the send line and
// the type-ahead box, expands the macros and reads a paddle on the parallel
// status register. The keying rules live in KeyerEngine; this window keeps
// the controls, the timers and the ports.

#include "platform/ui/MenuItem.h"
#include "platform/ui/Window.h"
#include "station/CPort.h"
#include "station/KeyerEngine.h"
#include "station/KeyerUpDown.h"
#include "station/SmallPort.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <array>

class TFCW : public Ui::Window {
    Q_OBJECT
public:
    TFCW();

    QLineEdit *EditTx;       // send line
    QPlainTextEdit *Memo1;   // type-ahead
    QPushButton *BitBtnTx;   // "TX"; its font colour is the transmit state
    QPushButton *BitBtn2;    // "Pause"
    QPushButton *BitBtn1;    // "RX"
    QPushButton *BitBtn20;   // "Clear"
    QLineEdit *EditSp;       // speed, characters per minute
    TKeyerUpDown *UpDown1;
    std::array<QPushButton *, 15> MacroButtons; // "BitBtn3".."BitBtn17"
    QPushButton *BitBtn18, *BitBtn19, *BitBtn21; // quick buttons
    QPushButton *Button1;    // hidden: macro expansion
    QPushButton *Button2;    // hidden: paddle sender; "Button2" idle, "Red" keyed
    QLineEdit *Edit1;        // hidden: the paddle mark
    Ui::MenuItem *PausePTTSignal1, *OnTop1;
    QTimer *Timer1;          // letter gap
    QTimer *Timer2;          // stop delay
    QTimer *Timer3;          // paddle poll
    TSmallPort *SmallPort1;
    TComPort *ComPort1;

    int ElementStep = 0;
    int PaddleStep = 0;
    bool TxAllowed = false;
    bool PaddleAllowed = false;
    QString MacroText;

    static constexpr int maroon = 0x000080;
    static constexpr int red = 0x0000FF;

    void FormCreate() override;
    void FormActivate() override;
    void FormClose() override;
    void BitBtnTxClick();
    void BitBtnTxMouseUp() { TxAllowed = true; }
    void BitBtnTxEnter() { TxAllowed = true; }
    void Button2Enter() { PaddleAllowed = true; }
    void BitBtn1Click();  // RX
    void BitBtn2Click();  // Pause
    void BitBtn20Click(); // Clear
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Button1Click();  // macro expansion
    void Button2Click();  // paddle sender
    void MacroClick(int number); // BitBtn3Click .. BitBtn17Click: macro 1..15
    void BitBtn18Click();
    void BitBtn19Click();
    void BitBtn21Click();
    void Memo1KeyUp();
    void Memo1Change();
    void PausePTTSignal1Click();
    void OnTop1Click();

    // Shows the window, puts `text` into the send line, sets the transmit
    // state and clicks "TX": the main window's CQ button in CW mode.
    void sendFromMainWindow(const QString &text);
    // The macro buttons take the names of the keyer settings.
    void showMacroNames();
    // Program exit: the lines of the port in use go to receive and the
    // parallel ports are let go.
    void releaseLines();
    // The settings' port choice moved: a parallel port no longer chosen is let go.
    void portChoiceChanged();

    // Waits of the sender; tests put a fake clock in place.
    void setClock(Keyer::Clock *clock) { clock_ = clock; }

private:
    class PortLine;
    int speed() const { return UpDown1->Position(); }
    int portChoice() const;
    // The port whose lines RX and Pause move: the one latched at the start of
    // the running transmission, else the current choice.
    int linePort() const;
    bool setLine(int port, Keyer::Line line);
    // Best effort after an error: receive on the latched port.
    void dropLines() noexcept;
    // `port` becomes the one the transmission keys; a different port latched
    // before goes to receive first.
    void latchPort(int port);
    void portError(const QString &message);
    void quickSend(const QString &text);

    Keyer::SteadyClock steadyClock_;
    Keyer::Clock *clock_ = &steadyClock_;
    int txPort_ = 0;
    bool txActive_ = false;
};

extern TFCW *FCW;
