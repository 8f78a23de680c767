// Printing from the main window: QSL labels, the printed log and the printed
// contest log.

#include "core/Unit3.h"

#include "contest/UContest.h"
#include "core/UConf.h"
#include "utilities/ULabPrin.h"
#include "utilities/ULabel.h"
#include "utilities/UPrntr.h"
#include "utilities/UPrntrContest.h"

void TForm3::PrintQSLlabel1Click()
{
    // From the template with its tags: the memo still holds the last filled
    // label, and without a template file nothing else would replace it.
    setMemoLines(FLabPrint->Memo1, memoLines(Flabel->Memo1));
    loadLabelFiles(FLabPrint->Memo1);
    FLabPrint->showModal();
}

void TForm3::QSLPrint1Click() { PrintQSLlabel1Click(); }

void TForm3::LogPrintClick() { FPrntr->QuickRep1Preview(Config->MaskEditC->text()); }

// Only the print font is chosen here; the printer is chosen in the preview.
void TForm3::LogPrintSetupClick() { FPrntr->FontDialog1.execute(); }

void TForm3::Printer1Click() { FPrintContest->QuickRep1Preview(ContConf->ComboBox1->currentText()); }
