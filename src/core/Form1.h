#pragma once
// An empty window that nothing uses; it exists because the window set has it.

#include "platform/ui/Window.h"

class TForm1 : public Ui::Window {
    Q_OBJECT
public:
    TForm1();
};

extern TForm1 *Form1;
