#include "awards/FMemAw.h"

TFMemAw *FMemAw = nullptr;

TFMemAw::TFMemAw() : Ui::Window(QStringLiteral("FMemAw"), QStringLiteral("Award Info")) {}
