#include "core/FiltCal.h"

TFiltCal *FiltCal = nullptr;

TFiltCal::TFiltCal() : Ui::Window(QStringLiteral("FiltCal"), QStringLiteral("Filter Callsignal")) {}
