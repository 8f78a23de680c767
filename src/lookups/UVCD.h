#pragma once
// External base of correspondents: browse, edit, add and delete entries of
// table "cs" in the directory the settings name.

#include "platform/ui/Window.h"

#include <QString>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;
namespace Db {
class Table;
}
namespace Ui {
class MaskEdit;
}

class TVCD : public Ui::Window {
    Q_OBJECT
public:
    TVCD();
    ~TVCD() override;

    // CallSign, Name, Country, PostIndex, Address, AddrStamp, PhoneCod,
    // PhoneNum, QTH, Oblast; RHobby in the memo.
    QLineEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8, *DBEdit11, *DBEdit12;
    QPlainTextEdit *DBMemo3;
    QWidget *DBNavigator1;
    QPushButton *NavFirst, *NavPrior, *NavNext, *NavLast;
    QPushButton *Button3, *Button2, *Button5, *Button4, *Button1; // Add, Del, Cancel, Save, Close
    Ui::MaskEdit *MaskEdit1; // hidden: the callsign of a new entry

    void Button3Click(); // "Add"
    void MaskEdit1Change();
    void Button4Click(); // "Save"
    void Button5Click(); // "Cancel"
    void Button2Click(); // "Del"
    void Button1Click(); // "Close"
    void FormClose() override;
    void DBNavigator1Click(void (Db::Table::*move)());
    void FieldKeyPress();

    bool isAdding() const { return adding_; }

private:
    void showRow();
    void clearFields();
    // Writes what was typed into the current row (edit or insert); a value
    // the field refuses raises and the row stays unwritten.
    void writeFields();
    // Writes what was typed into the shown entry; a refused value leaves
    // nothing pending in the base.
    void saveTyped();
    void endEditing();
    // Warns "VCD is not connected !" while the base is not open.
    static bool baseConnected();
    Db::Table *lookupCursor();

    bool adding_ = false;
    bool newCall_ = false; // the typed callsign is not in the base yet
    bool typed_ = false;   // a field was typed into since the row was shown
    qint64 typedRow_ = 0;  // the row shown then
    std::unique_ptr<Db::Table> lookup_;
};

extern TVCD *VCD;
