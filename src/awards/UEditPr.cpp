#include "awards/UEditPr.h"

TFormEditPref *FormEditPref = nullptr;

TFormEditPref::TFormEditPref() : Ui::Window(QStringLiteral("FormEditPref"), QStringLiteral("Edit Prefix")) {}
