#pragma once
// Prefix editor: browsing the prefixes, editing a prefix row's country data
// and deleting rows at three depths.

#include "awards/PrefixEdits.h"
#include "platform/ui/Window.h"

class QLineEdit;
class QPushButton;
namespace Ui {
class MaskEdit;
}

class TFormEditPref : public Ui::Window {
    Q_OBJECT
public:
    TFormEditPref();

    // Show the Allpref row, the Prefix row that follows it and its country data.
    QLineEdit *DBEdit2, *DBEdit1, *DBEdit3, *DBEdit4, *DBEdit10, *DBEdit8, *DBEdit9, *DBEdit5, *DBEdit6, *DBEdit7;
    QWidget *DBNavigator1;
    QPushButton *NavFirst, *NavPrior, *NavNext, *NavLast;
    Ui::MaskEdit *MaskEdit1;
    QPushButton *Button3, *Button4, *Button5, *Button1, *Button2;

    void MaskEdit1Change(); // find
    void Button3Click();    // "Save"
    void Button4Click();    // "Close"
    void Button5Click();    // "Del" beside "DXCC Prefix"
    void Button1Click();    // "Del" beside "Prefix"
    void Button2Click();    // "Del" beside "All Prefix"
    void FormShow() override;
    void FormClose() override;

private:
    void showRow();
    // Writes what the operator changed in the editable fields into the shown
    // Prefix row, as leaving a row does.
    void postPending();
    void remove(PrefixEdits::Depth depth);
};

extern TFormEditPref *FormEditPref;
