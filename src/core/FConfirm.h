#pragma once
// Offers a found name or QTH back when it differs from the entry.

#include "platform/ui/Window.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

class TFConfirm : public Ui::Window {
    Q_OBJECT
public:
    TFConfirm();

    QLineEdit *Edit1; // name the callbooks found
    QLineEdit *Edit2; // their QTH
    QGroupBox *GroupBox1;
    QPushButton *Button1, *Button2, *Button4, *Button3;

    void Button1Click(); // "Name"
    void Button2Click(); // "QTH"
    void Button4Click(); // "All"
    void Button3Click(); // "Close"
};

extern TFConfirm *FConfirm;
