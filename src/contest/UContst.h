#pragma once
// Contest window: the log through the second cursor, the running points
// total, the count of earlier contacts matching the typed callsign, and the
// award row of the current contact by band and mode.

#include "platform/ui/Window.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace Db {
class DataSource;
class DbGrid;
}

// One award panel: the row's key and its 28 band-and-mode marks, read-only.
class TAwardPanel : public QGroupBox {
    Q_OBJECT
public:
    TAwardPanel(const QString &objectName, const QString &caption, const QString &keyField, QWidget *parent);
    void bind(Db::DataSource *source);
    // The label of a cell by its field name ("B35Rtty"), or of the key
    // (the key field's name); nullptr for another name.
    QLabel *cell(const QString &fieldName) const;
    void refresh();

private:
    Db::DataSource *source_ = nullptr;
    QString keyField_;
    struct Cell {
        QString name; // of its field
        QLabel *label;
        int column; // of the field, when last found
    };
    QList<Cell> cells_; // the key first
};

class TCont : public Ui::Window {
    Q_OBJECT
public:
    TCont();

    Db::DbGrid *DBGrid1;
    QGroupBox *GroupBox8;
    QLabel *Label2; // earlier contacts whose callsign begins with the typed text
    QGroupBox *GroupBox9;
    QPushButton *Button2, *Button3, *Button4;
    TAwardPanel *GroupBox2; // DXCC
    TAwardPanel *GroupBox3; // WAZ
    TAwardPanel *GroupBox4; // Ukraine - Russia
    QGroupBox *GroupBox7;
    QLabel *Label5; // running points total
    QPushButton *Button1; // "Refr"

    void FormCreate() override;
    void FormActivate() override;
    void Button1Click();
    void Button2Click() { showPanel(GroupBox2); }
    void Button3Click() { showPanel(GroupBox3); }
    void Button4Click() { showPanel(GroupBox4); }

    // Shows one award panel and hides the other two.
    void showPanel(TAwardPanel *panel);
};

extern TCont *Cont;
