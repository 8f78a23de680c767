#include "lookups/UCallInt.h"

TQRZ *QRZ = nullptr;

TQRZ::TQRZ() : Ui::Window(QStringLiteral("QRZ"), QStringLiteral("Callbook")) {}
