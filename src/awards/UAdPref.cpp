#include "awards/UAdPref.h"

TAddPref *AddPref = nullptr;

TAddPref::TAddPref() : Ui::Window(QStringLiteral("AddPref"), QStringLiteral("Add Prefix")) {}
