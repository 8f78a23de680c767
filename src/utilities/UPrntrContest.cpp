#include "utilities/UPrntrContest.h"

TFPrintContest *FPrintContest = nullptr;

TFPrintContest::TFPrintContest() : Ui::Window(QStringLiteral("FPrintContest"), QStringLiteral("FPrintContest")) {}
