#include "utilities/UPrntr.h"

#include "core/Unit2.h"
#include "utilities/LogReport.h"

TFPrntr *FPrntr = nullptr;

TFPrntr::TFPrntr()
    : Ui::Window(QStringLiteral("FPrntr"), QStringLiteral("FPrntr")), FontDialog1(LogReport::defaultPrintFont())
{
}

void TFPrntr::QuickRep1Preview(const QString &callsign)
{
    LogReport::preview(LogReport::Kind::Log, QStringLiteral("Log ") + callsign, FontDialog1.font,
                       [this] { QuickRep1AfterPreview(); });
}

void TFPrntr::QuickRep1AfterPreview() { DM->DataSource1.setEnabled(true); }
