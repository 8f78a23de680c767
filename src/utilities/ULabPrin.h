#pragma once
// QSL label printing: the template filled from the log's selected contact,
// sent line by line to the default printer.

#include "platform/ui/Window.h"
#include "utilities/QslLabel.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace Db {
class Table;
}

class TFLabPrint : public Ui::Window {
    Q_OBJECT
public:
    TFLabPrint();

    QPlainTextEdit *Memo1; // the filled label
    QLineEdit *Edit1;      // the contact's callsign
    QPushButton *Button1;  // "Print"
    QPushButton *Button2;  // "Prior"
    QPushButton *Button3;  // "Next"
    QPushButton *Button4;  // "Close"
    QPushButton *Button5;  // "B", hidden: refills from the layout window's template

    void FormActivate() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

private:
    void fillFrom(const QPlainTextEdit *source);
};

extern TFLabPrint *FLabPrint;

// What the label shows of the log cursor's current row (empty texts when
// there is none).
QslLabel::Contact labelContact(Db::Table &log);
