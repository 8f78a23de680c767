// The main window's side of a contest: Begin and End, the contest window,
// the band box and the received contest number.

#include "core/Unit3.h"

void TForm3::connectContest() {}
void TForm3::ContStartClick() {}
void TForm3::ContStopClick() {}
void TForm3::View1Click() {}
void TForm3::OptionRepClick() {}
void TForm3::ComboBoxBandChange() {}
bool TForm3::EditNmRxKeyUp(QKeyEvent *) { return false; }
void TForm3::EditNmRxExit() {}
