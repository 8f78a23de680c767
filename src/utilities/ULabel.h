#pragma once
// QSL label layout: the template with its tags and the font it prints in,
// kept in "QSL_Lab.tnr" and "QSL_F.tnr".

#include "platform/ui/Dialogs.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/Window.h"

#include <QPlainTextEdit>

class TFlabel : public Ui::Window {
    Q_OBJECT
public:
    TFlabel();

    QPlainTextEdit *Memo1; // the template
    Ui::MenuItem *Font1;   // "Options" > "Font"
    Ui::FontDialog FontDialog1;

    void FormCreate() override;
    void FormClose() override;
    void Font1Click();

private:
    bool templateRead_ = false; // read at creation, or there was none
};

extern TFlabel *Flabel;

// Reads the label files of the program directory into `memo`: the font when
// "QSL_F.tnr" exists (a bad size line is reported and the rest still read),
// then the template when "QSL_Lab.tnr" exists.
void loadLabelFiles(QPlainTextEdit *memo);

// The memo's lines (none when it is empty) and back.
QStringList memoLines(const QPlainTextEdit *memo);
void setMemoLines(QPlainTextEdit *memo, const QStringList &lines);
