#pragma once
// Cabrillo export: the operator fills in the header and "OK" writes the log
// of the main cursor as a Cabrillo contest log.

#include "platform/ui/Window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

class TFCabrillo : public Ui::Window {
    Q_OBJECT
public:
    TFCabrillo();

    QComboBox *ComboBox1; // contest
    QLineEdit *EditMode;
    QLineEdit *EditCateg;
    QLineEdit *EditScore;
    QLineEdit *EditOperat;
    QLineEdit *EditClub;
    QLineEdit *EditName; // never written
    QLineEdit *EditAdr1, *EditAdr2, *EditAdr3;
    QLineEdit *EditSoap;
    QPushButton *Button1; // "OK"

    void FormCreate() override;
    void FormActivate() override;
    void Button1Click();

    // Writes the header, the contacts of the main log cursor and the closing
    // tag to `path`; the cursor ends after its last row.
    void exportTo(const QString &path);

private:
    void followOwnCallsign();
    QString operatorsSet_; // what the program last put into EditOperat
};

extern TFCabrillo *FCabrillo;
