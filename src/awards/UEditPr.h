#pragma once
// Prefix editor: editing prefixes.

#include "platform/ui/Window.h"

class TFormEditPref : public Ui::Window {
    Q_OBJECT
public:
    TFormEditPref();
};

extern TFormEditPref *FormEditPref;
