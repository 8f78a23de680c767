#include "contest/UContst.h"

TCont *Cont = nullptr;

TCont::TCont() : Ui::Window(QStringLiteral("Cont"), QStringLiteral("Info")) {}
