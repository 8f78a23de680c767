#include "core/Filter.h"

TFilter *Filter = nullptr;

TFilter::TFilter() : Ui::Window(QStringLiteral("Filter"), QStringLiteral("Filter")) {}
