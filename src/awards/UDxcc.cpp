#include "awards/UDxcc.h"

TAwDx *AwDx = nullptr;

TAwDx::TAwDx() : Ui::Window(QStringLiteral("AwDx"), QStringLiteral("Awards")) {}
