#include "utilities/UPrntrContest.h"

#include "core/Unit2.h"
#include "utilities/LogReport.h"
#include "utilities/UPrntr.h"

TFPrintContest *FPrintContest = nullptr;

TFPrintContest::TFPrintContest() : Ui::Window(QStringLiteral("FPrintContest"), QStringLiteral("FPrintContest")) {}

void TFPrintContest::QuickRep1Preview(const QString &contestName)
{
    LogReport::preview(LogReport::Kind::Contest, contestName, FPrntr->FontDialog1.font,
                       [this] { QuickRep1AfterPreview(); });
}

void TFPrintContest::QuickRep1AfterPreview() { DM->DataSource1.setEnabled(true); }
