#pragma once
// Schedules: ten appointments checked every second from start-up.

#include "core/MainClock.h"
#include "platform/ui/Window.h"
#include "utilities/SkedFile.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <array>

class TFSkeds : public Ui::Window {
    Q_OBJECT
public:
    TFSkeds();

    std::array<QDateEdit *, SkedFile::rowCount> DateEdit;       // DateEdit1..10
    std::array<QTimeEdit *, SkedFile::rowCount> DateTimePicker; // DateTimePicker1..10
    std::array<QLineEdit *, SkedFile::rowCount> Edit;           // Edit1..10
    std::array<QRadioButton *, SkedFile::rowCount> AbLED;       // AbLED1..10
    QPushButton *Button1; // "Close"
    QTimer *Timer1;

    void FormCreate() override;
    void FormActivate() override;
    void FormClose() override;
    void Button1Click();
    void Timer1Timer();

    SkedFile::Rows rows() const;
    void setRows(const SkedFile::Rows &rows);

private:
    void readFile();
    MainClock::Reference reference_;
    bool showing_ = false; // a box is open
};

extern TFSkeds *FSkeds;
