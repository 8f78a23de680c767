#include "station/UCw.h"

TFCW *FCW = nullptr;

TFCW::TFCW() : Ui::Window(QStringLiteral("FCW"), QStringLiteral("CW")) {}

void TFCW::sendFromMainWindow(const QString &) {}
