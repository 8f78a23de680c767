#include "core/Povt.h"

#include "core/Unit2.h"
#include "core/Unit3.h"
#include "platform/table/DbGrid.h"

#include <QStatusBar>

TPovt *Povt = nullptr;

TPovt::TPovt() : Ui::Window(QStringLiteral("Povt"), QStringLiteral("Tarnel"))
{
    DBGrid1 = new Db::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDeferred(true); // its cursor follows every key typed in the callsign
    setCentralWidget(DBGrid1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->showMessage(QStringLiteral("1 QSO"));
    setStatusBar(StatusBar1);
    resize(560, 220);
}

void TPovt::bindGrid()
{
    DBGrid1->setDataSource(&DM->DataSource7);
}

void TPovt::FormActivate()
{
    setWindowTitle(Form3->MaskEditCall->text());
    Db::Table &log = DM->Table7;
    if (!log.isActive())
        return;
    StatusBar1->showMessage(QStringLiteral("  %1  QSO").arg(log.recordCount()));
    log.last();
}

void TPovt::FormClose()
{
    setWindowTitle(QStringLiteral("Tarnel"));
}
