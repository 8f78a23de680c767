#pragma once
// Repeat window: earlier contacts with the entered callsign.

#include "platform/ui/Window.h"

class QStatusBar;
namespace Db {
class DbGrid;
}

class TPovt : public Ui::Window {
    Q_OBJECT
public:
    TPovt();

    Db::DbGrid *DBGrid1;
    QStatusBar *StatusBar1;

    // The grid follows the log's second cursor once the data module exists.
    void bindGrid();

    void FormActivate() override;
    void FormClose() override;
};

extern TPovt *Povt;
