#pragma once
// About window.

#include "platform/ui/Window.h"

class QLabel;
class QPushButton;

class TAboutBox : public Ui::Window {
    Q_OBJECT
public:
    TAboutBox();

    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QLabel *Comments;
    QPushButton *OKButton;

    void OKButtonClick() { closeWindow(); }
};

extern TAboutBox *AboutBox;
