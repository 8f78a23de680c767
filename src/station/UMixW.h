#pragma once
// Link to the MixW log file: takes its latest contact over into the main
// window, on demand or by polling.

#include "platform/ui/MenuItem.h"
#include "platform/ui/Window.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>

namespace MixwLog {
struct Contact;
}

class TMixT : public Ui::Window {
    Q_OBJECT
public:
    TMixT();

    QLineEdit *Edit1; // "Call"
    QLineEdit *Edit2; // hidden: the date and time as read
    QLineEdit *Edit3; // "Band"
    QLineEdit *Edit4; // "Mode"
    QLineEdit *Edit5; // "Rx RST"
    QLineEdit *Edit6; // "Tx RST"
    QLineEdit *Edit7; // name of the contact taken over; feeds the entry's name
    QLineEdit *Edit8; // its QTH; feeds the entry's QTH
    QLineEdit *Edit9; // hidden: field 21
    QDateEdit *DateTimePicker1;
    QTimeEdit *DateTimePicker2;
    QPlainTextEdit *Memo1; // "Notepad"
    QPushButton *Button1;  // "Save"
    QPushButton *Button2;  // "Clear"
    QPushButton *Button4;  // "-Update-"
    Ui::MenuItem *StopUpdate1;
    Ui::MenuItem *StartUpdate1;
    Ui::MenuItem *UpdateTime1;
    Ui::RadioGroup GroupUpdate;
    QTimer *Timer1; // the poll

    void FormClose() override;
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void Timer1Timer();
    void StopUpdate1Click();
    void StartUpdate1Click();
    void UpdateTime1Click();

    // The main menu's "Update": straight into the main window; "Real" is
    // unticked once the file has been read.
    void takeOverFromMenu();

private:
    enum class Way { Button, Poll, Menu };
    void takeOver(Way way);
    bool fillLinkWindow(const MixwLog::Contact &c, Way way);
    QString lastTaken_; // the last line taken over, by any way
};

extern TMixT *MixT;
