#include "core/FConfirm.h"

TFConfirm *FConfirm = nullptr;

TFConfirm::TFConfirm() : Ui::Window(QStringLiteral("FConfirm"), QStringLiteral("Change")) {}
